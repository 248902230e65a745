// Geometry of the rows of the hex display: what each cell of a row holds, how
// many bytes and rows fit in a client area, and the mapping between byte
// offsets and pixel positions. No window is needed, so printing and tests use it
// as the grid does.
#pragma once

#include <cstdint>

// Top-left pixel corner of a cell.
struct CCellPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CCellPoint&) const = default;
};

// Where a client point lands: a byte offset, a pane and a digit.
struct CCellHit {
    std::int64_t offset = 0;
    bool hexPane = true;
    int nibble = 0;
    bool operator==(const CCellHit&) const = default;
};

class CRowLayout {
public:
    // One row is formatted into a fixed line buffer; 252 bytes keep the longest
    // row (4 x 252 + 22 cells) within it.
    static constexpr int kMaxBytesPerRow = 252;
    // The address column has 11 digits; larger offsets widen it (up to the 19
    // decimal digits of the largest 64-bit offset) instead of being cut.
    static constexpr int kMinAddressDigits = 11;
    static constexpr int kMaxAddressDigits = 19;
    // Cells of a row: the address, two blanks, then per byte its two digits and
    // a blank; one more blank, so that two stand between the panes; then one
    // character per byte.
    static constexpr int kAddressGap = 2;
    static constexpr int kPaneGap = 1;
    static constexpr int kCellsPerByte = 4;
    // Cells of a row that are not a byte's: the address and the blanks.
    static constexpr int FixedCells(int addressDigits) {
        return addressDigits + kAddressGap + kPaneGap;
    }
    static constexpr int kMaxRowCells =
        kCellsPerByte * kMaxBytesPerRow + kMaxAddressDigits + kAddressGap + kPaneGap;
    // Bytes per row fitted to a width leave this many cells free at the right,
    // so the last character never touches the window's edge.
    static constexpr int kSpareCells = 1;
    // Pixels left blank at the client area's left and top edges, so the first
    // cell does not touch the window's frame.
    static constexpr int kLeftMargin = 3;
    static constexpr int kTopMargin = 2;
    // CellToPoint's answer for offsets above (negative) or below the page.
    static constexpr int kOffPage = 2048;
    // The scroll bar works on 0 ... kScrollScale whatever the file's size.
    static constexpr int kScrollScale = 1000;

    // Digits of the address column for a content of `length` bytes: 11, or as
    // many as its last offset needs.
    static int AddressDigitsFor(std::int64_t length, bool hexAddress);

    // Rows per page, bytes per row and the character column for a client area
    // of width x height pixels; fixedColumns 0 fits the bytes to the width.
    // The character size and the address digits must be set before.
    void Recalc(int clientWidth, int clientHeight, int fixedColumns);
    // Bytes per row and address digits (each limited to its range), and the
    // character column they give.
    void SetColumns(int bytesPerRow, int addressDigits);

    int HexColumn() const { return m_nAddressDigits + kAddressGap; }
    // The cell of the high digit of byte column `col`; the low digit follows it.
    int HexCell(int col) const { return HexColumn() + 3 * col; }
    // The cell of the character of byte column `col`.
    int CharCell(int col) const { return m_nCharColumn + col; }
    int RowCells() const { return kCellsPerByte * m_nBytesPerRow + FixedCells(m_nAddressDigits); }
    std::int64_t PageBytes() const {
        return static_cast<std::int64_t>(m_nBytesPerRow) * m_nRowsPerPage;
    }
    int CellX(int cell) const { return kLeftMargin + cell * m_nCharWidth; }
    int RowY(int row) const { return kTopMargin + row * m_nCharHeight; }

    // Pixel corner of an offset's cell; (-2048, -2048) above the page and
    // (2048, 2048) more than one row below it.
    CCellPoint CellToPoint(std::int64_t offset, bool hexPane, int nibble) const;
    // The offset, pane and digit under a client point, limited to 0 ... length.
    CCellHit PointToCell(int x, int y, std::int64_t length) const;

    // A valid top for `top`: at most one page before the end position, not
    // negative, and on a row start.
    std::int64_t ClampTop(std::int64_t top, std::int64_t length) const;
    // The same, then moved as little as needed to show the row of `target`.
    std::int64_t ClampTop(std::int64_t top, std::int64_t length, std::int64_t target) const;

    // The scroll bar's page and position, and the top a thumb position asks for.
    int ScrollPage(std::int64_t length) const;
    static int ScrollPosition(std::int64_t top, std::int64_t length);
    static std::int64_t ThumbToTop(int position, std::int64_t length);

    int m_nBytesPerRow = 1;
    int m_nRowsPerPage = 1;
    int m_nCharWidth = 8;
    int m_nCharHeight = 16;
    int m_nCharColumn = (kCellsPerByte - 1) + FixedCells(kMinAddressDigits);
    int m_nAddressDigits = kMinAddressDigits;
    std::int64_t m_nTop = 0;
};

// a * b / c for a >= 0, 0 <= b and c > 0, without overflowing on the way
// (exact while a * b or c stay below 2^63 / 1000).
std::int64_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c);
