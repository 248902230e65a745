// Painting: only the rows in the update region, each read with one positional
// read (the file's position stays for a search or edit in progress) and drawn as one glyph run,
// plus the selection, the caret's mirror in the other pane and the caret itself.
#include "display/CHexGridWnd.h"

#include "storage/ByteSearch.h"
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
        // Through the row holding the rectangle's last pixel line.
        const int end =
            std::min((rect.bottom() - CRowLayout::kTopMargin) / m_layout.m_nCharHeight + 1,
                     m_layout.m_nRowsPerPage);
        for (int row = first; row < end; ++row)
            m_rowsToPaint[static_cast<size_t>(row)] = 1;
    }
    FindShownMatches();
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
    PaintMatches(painter, row);

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

void CHexGridWnd::SetMatchHighlight(const CByteString& pattern, bool matchCase) {
    if (pattern == m_highlight && matchCase == m_bHighlightCase)
        return;
    m_highlight = pattern;
    m_bHighlightCase = matchCase;
    viewport()->update();
}

QColor CHexGridWnd::MatchColor() {
    return QColor(255, 214, 92); // amber: apart from any usual selection blue or grey
}

void CHexGridWnd::FindShownMatches() {
    const auto page = static_cast<size_t>(m_layout.PageBytes());
    m_matchMask.assign(m_highlight.empty() ? 0 : page, 0);
    if (m_highlight.empty())
        return;
    // The shown bytes, and as many on each side as an occurrence can reach
    // into them from outside.
    const auto reach = static_cast<std::int64_t>(m_highlight.size()) - 1;
    const std::int64_t top = m_layout.m_nTop;
    const std::int64_t from = std::max<std::int64_t>(0, top - reach);
    const std::int64_t to = top + static_cast<std::int64_t>(page) + reach;
    m_matchBytes.resize(static_cast<size_t>(to - from));
    const auto n = static_cast<size_t>(m_pFile->ReadAt(from, m_matchBytes.data(), to - from));
    const CByteSearch search(m_highlight, m_bHighlightCase);
    for (size_t i = 0; n - i >= m_highlight.size();) {
        const size_t at = search.FindFirst(m_matchBytes.data() + i, n - i);
        if (at == CByteSearch::npos)
            break;
        const std::int64_t first = from + static_cast<std::int64_t>(i + at);
        const std::int64_t a = std::max(first, top) - top;
        const std::int64_t b =
            std::min<std::int64_t>(first + reach + 1, top + static_cast<std::int64_t>(page)) - top;
        std::fill(m_matchMask.begin() + a, m_matchMask.begin() + b, 1);
        i += at + 1;
    }
}

void CHexGridWnd::PaintMatches(QPainter& painter, int row) {
    if (m_matchMask.empty())
        return;
    const int bpr = m_layout.m_nBytesPerRow;
    const char* mask = m_matchMask.data() + static_cast<size_t>(row) * static_cast<size_t>(bpr);
    const QColor back = MatchColor();
    const QColor text = Qt::black;
    for (int a = 0; a < bpr;) {
        if (!mask[a]) {
            ++a;
            continue;
        }
        int b = a;
        while (b < bpr && mask[b])
            ++b;
        FillCells(painter, row, m_layout.HexCell(a), m_layout.HexCell(b) - m_layout.HexCell(a) - 1,
                  back, text);
        FillCells(painter, row, m_layout.CharCell(a), b - a, back, text);
        a = b;
    }
}
