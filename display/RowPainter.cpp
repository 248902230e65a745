#include "display/RowPainter.h"

#include "display/DisplayCodePage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

CRowPainter::CRowPainter() {
    SetCellWidth(1);
}

void CRowPainter::SetFont(const QFont& font) {
    m_font = font;
    m_rawFont = QRawFont::fromFont(font);
    m_nAscent = QFontMetrics(font).ascent();
    for (int code = 0; code < 256; ++code) {
        // A control character must never reach a text layout: U+0085 alone
        // breaks the line there.
        const QChar ch(DisplayCodeToUnicode(static_cast<unsigned char>(code)));
        m_charOf[static_cast<size_t>(code)] =
            ch.category() == QChar::Other_Control ? u'.' : ch.unicode();
    }
    if (!m_rawFont.isValid())
        return;
    m_run.setRawFont(m_rawFont);
    quint32 dot = 0;
    int n = 1;
    const QChar dotChar(u'.');
    m_rawFont.glyphIndexesForChars(&dotChar, 1, &dot, &n);
    for (int code = 0; code < 256; ++code) {
        const QChar ch(DisplayCodeToUnicode(static_cast<unsigned char>(code)));
        quint32 glyph = 0;
        n = 1;
        m_rawFont.glyphIndexesForChars(&ch, 1, &glyph, &n);
        // A character the font lacks is drawn as '.', never as a missing-glyph box.
        m_glyphOf[static_cast<size_t>(code)] = glyph != 0 || code == ' ' ? glyph : dot;
        if (glyph == 0 && code != ' ')
            m_charOf[static_cast<size_t>(code)] = u'.';
    }
}

void CRowPainter::SetCellWidth(int width) {
    m_nCellWidth = std::max(width, 1);
    for (size_t i = 0; i < m_positions.size(); ++i)
        m_positions[i] = QPointF(static_cast<qreal>(i) * m_nCellWidth, 0);
}

void CRowPainter::SetLine(const unsigned char* line, int cells) {
    m_nCells = std::clamp(cells, 0, CRowLayout::kMaxRowCells);
    std::copy(line, line + m_nCells, m_line.begin());
    for (int i = 0; i < m_nCells; ++i)
        m_glyphs[static_cast<size_t>(i)] = m_glyphOf[m_line[static_cast<size_t>(i)]];
}

QString CRowPainter::Text() const {
    QString text(m_nCells, QChar(u' '));
    for (int i = 0; i < m_nCells; ++i)
        text[i] = QChar(m_charOf[m_line[static_cast<size_t>(i)]]);
    return text;
}

void CRowPainter::DrawCells(QPainter& painter, QPoint rowOrigin, int first, int count) {
    first = std::max(first, 0);
    count = std::min(count, m_nCells - first);
    if (count <= 0)
        return;
    if (m_rawFont.isValid()) {
        m_run.setRawData(m_glyphs.data() + first, m_positions.data() + first, count);
        painter.drawGlyphRun(QPointF(rowOrigin.x(), rowOrigin.y() + m_nAscent), m_run);
        return;
    }
    // No raw access to this font: draw cell by cell so the columns still hold.
    painter.setFont(m_font);
    for (int i = first; i < first + count; ++i) {
        const QChar ch(m_charOf[m_line[static_cast<size_t>(i)]]);
        painter.drawText(QPoint(rowOrigin.x() + i * m_nCellWidth, rowOrigin.y() + m_nAscent),
                         QString(ch));
    }
}
