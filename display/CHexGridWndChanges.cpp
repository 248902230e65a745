// The grid following edits of its file: caret and selection move with the
// bytes, the length and scroll bar follow, and only the rows a change touched
// are painted again.
#include "display/CHexGridWnd.h"

#include "storage/CPieceFile64.h"

#include <algorithm>

void CHexGridWnd::ReleaseFile() {
    m_pFile = nullptr;
    viewport()->update();
}

void CHexGridWnd::ApplyChanges(const CContentChanges& changes) {
    if (!m_pFile)
        return;
    const CCaretState before = m_caret;
    const std::int64_t top = m_layout.m_nTop;
    std::int64_t length = m_nLength;
    for (const CContentChange& change : changes) {
        InvalidateChange(change);
        length += change.Delta();
    }
    bool repaintAll = false;
    // The file is the authority: should a change ever go unheard (an edit made
    // around the document), the window shows the file as it is.
    if (length != m_pFile->GetLength()) {
        length = m_pFile->GetLength();
        repaintAll = true;
    }
    if (length != m_nLength) {
        m_nLength = length;
        if (CRowLayout::AddressDigitsFor(m_nLength, m_bHexAddress) != m_layout.m_nAddressDigits) {
            RecalcLayout(false); // a wider address column moves every cell
        } else {
            m_layout.m_nTop = m_layout.ClampTop(m_layout.m_nTop, m_nLength);
            repaintAll = repaintAll || m_layout.m_nTop != top;
            UpdateScrollBar();
        }
    }
    if (m_caret.Follow(changes, m_nLength)) {
        InvalidateSelection(before);
        InvalidateSelection(m_caret);
        CaretMoved();
        emit selectionChanged();
    }
    if (repaintAll)
        viewport()->update();
}

void CHexGridWnd::InvalidateChange(const CContentChange& change) {
    // Highlighted occurrences reach this far into the bytes around a change.
    const std::int64_t reach =
        m_highlight.empty() ? 0 : static_cast<std::int64_t>(m_highlight.size()) - 1;
    const std::int64_t from = std::max<std::int64_t>(change.m_nOffset - reach, 0);
    if (change.ChangesLength())
        InvalidateRowsFrom(from); // everything after it moved
    else if (change.m_nInserted > 0)
        InvalidateBytes(from, change.m_nOffset + change.m_nInserted - 1 + reach);
}

void CHexGridWnd::InvalidateRowsFrom(std::int64_t offset) {
    const std::int64_t top = m_layout.m_nTop;
    if (offset > top + m_layout.PageBytes())
        return;
    const std::int64_t row = offset <= top ? 0 : (offset - top) / m_layout.m_nBytesPerRow;
    const int y = row == 0 ? 0 : m_layout.RowY(static_cast<int>(row));
    viewport()->update(QRect(0, y, viewport()->width(), viewport()->height() - y));
}

void CHexGridWnd::InvalidateSelection(const CCaretState& state) {
    InvalidateBytes(state.Anchor(), state.Offset());
}
