// Painting: only the rows in the update region, each read with one positional
// read (the file's position stays for a search or edit in progress) and drawn as one glyph run,
// plus the selection, the caret's mirror in the other pane and the caret itself.
#include "display/CHexGridWnd.h"

#include "storage/CPieceFile64.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

void CHexGridWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion& region = event->region();
    painter.fillRect(region.boundingRect(), palette().color(QPalette::Base));
    if (!m_pFile)
        return;
    m_formatter.Configure(m_layout.m_nBytesPerRow, m_layout.m_nAddressDigits, m_bHexAddress,
                          m_bShowUpper, m_nCharSet);
    try {
        PaintRows(painter, region);
    } catch (...) {
        // Said once per file: a file that cannot be read fails every repaint.
        if (!m_bPaintErrorShown) {
            m_bPaintErrorShown = true;
            ReportLater(CurrentExceptionText());
        }
    }
}

void CHexGridWnd::PaintRows(QPainter& painter, const QRegion& region) {
    m_rowsToPaint.assign(static_cast<size_t>(m_layout.m_nRowsPerPage), 0);
    for (const QRect& rect : region) {
        const int first =
            std::max((rect.top() - CRowLayout::kTopMargin) / m_layout.m_nCharHeight, 0);
        const int end = std::min((rect.top() + rect.height() - 3) / m_layout.m_nCharHeight + 1,
                                 m_layout.m_nRowsPerPage);
        for (int row = first; row < end; ++row)
            m_rowsToPaint[static_cast<size_t>(row)] = 1;
    }
    const CByteRange selection = GetSelection();
    for (int row = 0; row < m_layout.m_nRowsPerPage; ++row) {
        if (m_rowsToPaint[static_cast<size_t>(row)])
            PaintRow(painter, row, selection);
    }
}

void CHexGridWnd::PaintRow(QPainter& painter, int row, CByteRange selection) {
    const std::int64_t bpr = m_layout.m_nBytesPerRow;
    const std::int64_t offset = m_layout.m_nTop + row * bpr;
    int count = 0;
    if (offset < m_pFile->GetLength())
        count = static_cast<int>(m_pFile->ReadAt(offset, m_rowBytes.data(), bpr));
    unsigned char line[CRowLayout::kMaxRowCells];
    // The empty row after the last full one shows no address, except for an empty file.
    const int cells =
        m_formatter.Format(line, offset, count > 0 || offset == 0, m_rowBytes.data(), count);
    ++m_nRowsFormatted;
    m_painter.SetLine(line, cells);

    const QPalette& pal = palette();
    painter.setPen(pal.color(QPalette::Text));
    m_painter.DrawCells(painter, QPoint(CRowLayout::kLeftMargin, m_layout.RowY(row)), 0, cells);

    const int a = static_cast<int>(std::clamp<std::int64_t>(selection.start - offset, 0, bpr));
    const int b = static_cast<int>(std::clamp<std::int64_t>(selection.End() - offset, 0, bpr));
    if (a < b) {
        const QColor back = pal.color(QPalette::Highlight);
        const QColor text = pal.color(QPalette::HighlightedText);
        FillCells(painter, row, m_layout.HexCell(a), m_layout.HexCell(b) - m_layout.HexCell(a) - 1,
                  back, text);
        FillCells(painter, row, m_layout.CharCell(a), b - a, back, text);
    }

    const std::int64_t d = m_caret.Offset() - offset;
    if (!hasFocus() || d < 0 || d >= bpr)
        return;
    const int col = static_cast<int>(d);
    const QColor mirrorBack = pal.color(QPalette::Button);
    const QColor mirrorText = pal.color(QPalette::ButtonText);
    if (m_caret.InHexPane())
        FillCells(painter, row, m_layout.CharCell(col), 1, mirrorBack, mirrorText);
    else
        FillCells(painter, row, m_layout.HexCell(col), 2, mirrorBack, mirrorText);
    if (!m_bCaretOn)
        return;
    // The caret inverts the cell it stands on.
    const bool selected = selection.Contains(m_caret.Offset());
    const QColor back = pal.color(selected ? QPalette::Highlight : QPalette::Base);
    const QColor text = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const int cell =
        m_caret.InHexPane() ? m_layout.HexCell(col) + m_caret.Nibble() : m_layout.CharCell(col);
    FillCells(painter, row, cell, 1, text, back);
}

void CHexGridWnd::FillCells(QPainter& painter, int row, int first, int count,
                            const QColor& background, const QColor& text) {
    if (count <= 0)
        return;
    painter.fillRect(QRect(m_layout.CellX(first), m_layout.RowY(row), count * m_layout.m_nCharWidth,
                           m_layout.m_nCharHeight),
                     background);
    painter.setPen(text);
    m_painter.DrawCells(painter, QPoint(CRowLayout::kLeftMargin, m_layout.RowY(row)), first, count);
}
