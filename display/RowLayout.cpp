#include "display/RowLayout.h"

#include "storage/Digits.h"

#include <algorithm>
#include <limits>

std::int64_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (b == 0 || a <= std::numeric_limits<std::int64_t>::max() / b)
        return a * b / c;
    const std::int64_t q = a / c;
    const std::int64_t r = a % c;
    if (r <= std::numeric_limits<std::int64_t>::max() / b)
        return q * b + r * b / c;
    // Only for contents beyond 2^53 bytes; the scroll bar cannot tell the difference.
    return q * b + static_cast<std::int64_t>(static_cast<long double>(r) * b / c);
}

int CRowLayout::AddressDigitsFor(std::int64_t length, bool hexAddress) {
    return AddressDigits(length - 1, hexAddress, kMinAddressDigits);
}

void CRowLayout::Recalc(int clientWidth, int clientHeight, int fixedColumns) {
    m_nCharWidth = std::max(m_nCharWidth, 1);
    m_nCharHeight = std::max(m_nCharHeight, 1);
    m_nRowsPerPage = std::max((clientHeight - kTopMargin) / m_nCharHeight, 1);
    const int digits = std::clamp(m_nAddressDigits, kMinAddressDigits, kMaxAddressDigits);
    const int freeCells =
        (clientWidth - kLeftMargin) / m_nCharWidth - FixedCells(digits) - kSpareCells;
    const int bpr = fixedColumns != 0 ? fixedColumns : freeCells / kCellsPerByte;
    SetColumns(bpr, digits);
}

void CRowLayout::SetColumns(int bytesPerRow, int addressDigits) {
    m_nAddressDigits = std::clamp(addressDigits, kMinAddressDigits, kMaxAddressDigits);
    m_nBytesPerRow = std::clamp(bytesPerRow, 1, kMaxBytesPerRow);
    // The characters follow each byte's pair and blank, and the panes' gap.
    m_nCharColumn = (kCellsPerByte - 1) * m_nBytesPerRow + FixedCells(m_nAddressDigits);
}

CCellPoint CRowLayout::CellToPoint(std::int64_t offset, bool hexPane, int nibble) const {
    if (offset < m_nTop)
        return {-kOffPage, -kOffPage};
    if (offset > m_nTop + PageBytes())
        return {kOffPage, kOffPage};
    const int col = static_cast<int>(offset % m_nBytesPerRow);
    const int row = static_cast<int>((offset - m_nTop) / m_nBytesPerRow);
    const int cell = hexPane ? HexCell(col) + nibble : CharCell(col);
    return {CellX(cell), RowY(row)};
}

CCellHit CRowLayout::PointToCell(int x, int y, std::int64_t length) const {
    y = std::clamp(y, 0, m_nRowsPerPage * m_nCharHeight);
    const int cell = (x - kLeftMargin) / m_nCharWidth;
    const std::int64_t rowBase =
        m_nTop + static_cast<std::int64_t>((y - kTopMargin) / m_nCharHeight) * m_nBytesPerRow;
    CCellHit hit;
    if (cell >= m_nCharColumn) {
        hit.hexPane = false;
        hit.offset = rowBase + std::min(cell - m_nCharColumn, m_nBytesPerRow - 1);
    } else {
        const int k = cell - HexColumn();
        if (k <= 0) {
            hit.offset = rowBase;
        } else {
            hit.offset = rowBase + std::min(k / 3, m_nBytesPerRow - 1);
            // The blank after a pair belongs to its low digit.
            hit.nibble = k % 3 == 0 ? 0 : 1;
        }
    }
    if (hit.offset >= length) {
        hit.offset = length;
        hit.nibble = 0;
    }
    if (hit.offset < 0) {
        hit.offset = 0;
        hit.nibble = 0;
    }
    return hit;
}

std::int64_t CRowLayout::ClampTop(std::int64_t top, std::int64_t length) const {
    // The last page may end with the row of the end position.
    const std::int64_t maxTop = length - PageBytes() + m_nBytesPerRow;
    if (top > maxTop)
        top = maxTop;
    if (top < 0)
        top = 0;
    return top - top % m_nBytesPerRow;
}

std::int64_t CRowLayout::ClampTop(std::int64_t top, std::int64_t length,
                                  std::int64_t target) const {
    top = ClampTop(top, length);
    const std::int64_t targetRow = target - target % m_nBytesPerRow;
    if (top > target)
        top = targetRow;
    if (top <= target - PageBytes())
        top = targetRow - PageBytes() + m_nBytesPerRow;
    return top;
}

int CRowLayout::ScrollPage(std::int64_t length) const {
    if (length <= 0)
        return 0;
    const std::int64_t page = MulDiv64(PageBytes(), kScrollScale, length);
    return static_cast<int>(std::clamp<std::int64_t>(page, 1, 2 * kScrollScale));
}

int CRowLayout::ScrollPosition(std::int64_t top, std::int64_t length) {
    if (length <= 0 || top <= 0)
        return 0;
    return static_cast<int>(
        std::min<std::int64_t>(MulDiv64(top, kScrollScale, length), kScrollScale));
}

std::int64_t CRowLayout::ThumbToTop(int position, std::int64_t length) {
    if (length <= 0 || position <= 0)
        return 0;
    return MulDiv64(length, position, kScrollScale);
}
