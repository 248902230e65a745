#include "display/RowLayout.h"

#include "display/RowFormatter.h"

#include <gtest/gtest.h>

namespace {

// 8 x 16 pixel cells, 16 bytes per row, 10 rows per page.
CRowLayout SixteenByTen() {
    CRowLayout l;
    l.m_nCharWidth = 8;
    l.m_nCharHeight = 16;
    l.Recalc(3 + 79 * 8, 2 + 10 * 16, 0);
    return l;
}

} // namespace

TEST(RowLayout, BytesPerRowFromTheWidth) {
    CRowLayout l = SixteenByTen();
    EXPECT_EQ(l.m_nBytesPerRow, 16);
    EXPECT_EQ(l.m_nRowsPerPage, 10);
    EXPECT_EQ(l.m_nCharColumn, 62);
    EXPECT_EQ(l.HexColumn(), 13);
    EXPECT_EQ(l.RowCells(), 78);
    // One pixel less leaves no spare cell for 16 bytes.
    l.Recalc(3 + 79 * 8 - 1, 2 + 10 * 16 - 1, 0);
    EXPECT_EQ(l.m_nBytesPerRow, 15);
    EXPECT_EQ(l.m_nRowsPerPage, 9);
    EXPECT_EQ(l.m_nCharColumn, 59);
}

TEST(RowLayout, NarrowOrOddSizesKeepAtLeastOneByteAndRow) {
    CRowLayout l = SixteenByTen();
    l.Recalc(40, 5, 0);
    EXPECT_EQ(l.m_nBytesPerRow, 1);
    EXPECT_EQ(l.m_nRowsPerPage, 1);
    EXPECT_EQ(l.m_nCharColumn, 17);
    l.Recalc(-10, -10, 0);
    EXPECT_EQ(l.m_nBytesPerRow, 1);
    l.Recalc(800, 600, 300);
    EXPECT_EQ(l.m_nBytesPerRow, CRowLayout::kMaxBytesPerRow);
    l.Recalc(800, 600, -4);
    EXPECT_EQ(l.m_nBytesPerRow, 1);
    l.Recalc(9000, 600, 0);
    EXPECT_EQ(l.m_nBytesPerRow, CRowLayout::kMaxBytesPerRow);
}

TEST(RowLayout, WideAddressesShiftTheRow) {
    EXPECT_EQ(CRowLayout::AddressDigitsFor(0, true), 11);
    EXPECT_EQ(CRowLayout::AddressDigitsFor(std::int64_t{1} << 44, true), 11);
    EXPECT_EQ(CRowLayout::AddressDigitsFor((std::int64_t{1} << 44) + 1, true), 12);
    EXPECT_EQ(CRowLayout::AddressDigitsFor(100000000000, false), 11);
    EXPECT_EQ(CRowLayout::AddressDigitsFor(100000000001, false), 12);
    EXPECT_EQ(CRowLayout::AddressDigitsFor(INT64_MAX, true), 16);
    EXPECT_EQ(CRowLayout::AddressDigitsFor(INT64_MAX, false), 19);

    CRowLayout l = SixteenByTen();
    l.m_nAddressDigits = 12;
    l.Recalc(3 + 79 * 8, 2 + 10 * 16, 0);
    EXPECT_EQ(l.m_nBytesPerRow, 15); // one cell less for the bytes
    EXPECT_EQ(l.HexColumn(), 14);
    EXPECT_EQ(l.m_nCharColumn, 3 * 15 + 15);
    // The old first hex cell is now address: it selects the row start.
    EXPECT_EQ(l.PointToCell(l.CellX(13) + 1, 3, 1000), (CCellHit{0, true, 0}));
    EXPECT_EQ(l.PointToCell(l.CellX(15) + 1, 3, 1000), (CCellHit{0, true, 1}));
}

TEST(RowLayout, CellToPointAroundThePage) {
    CRowLayout l = SixteenByTen();
    l.m_nTop = 32;
    EXPECT_EQ(l.CellToPoint(31, true, 0), (CCellPoint{-2048, -2048}));
    EXPECT_EQ(l.CellToPoint(32, true, 0), (CCellPoint{3 + 13 * 8, 2}));
    EXPECT_EQ(l.CellToPoint(32 + 16 + 5, true, 1), (CCellPoint{3 + (13 + 15 + 1) * 8, 2 + 16}));
    EXPECT_EQ(l.CellToPoint(32 + 16 + 5, false, 1), (CCellPoint{3 + (62 + 5) * 8, 2 + 16}));
    // One page below the top is still mapped, to the row under the page.
    EXPECT_EQ(l.CellToPoint(32 + 160, false, 0), (CCellPoint{3 + 62 * 8, 2 + 10 * 16}));
    EXPECT_EQ(l.CellToPoint(32 + 161, false, 0), (CCellPoint{2048, 2048}));
}

TEST(RowLayout, PointToCellOnAddressGapAndPastTheEnd) {
    CRowLayout l = SixteenByTen();
    l.m_nTop = 160;
    const std::int64_t length = 160 + 3 * 16 + 4; // the fourth row holds 4 bytes
    const int row2 = 2 + 2 * 16 + 5;
    // Address column: the row's first byte, high digit, hex pane.
    EXPECT_EQ(l.PointToCell(5, row2, length), (CCellHit{192, true, 0}));
    // Pairs: high digit, low digit, and the blank after the pair (low digit).
    EXPECT_EQ(l.PointToCell(l.CellX(13 + 3 * 4), row2, length), (CCellHit{196, true, 0}));
    EXPECT_EQ(l.PointToCell(l.CellX(13 + 3 * 4 + 1), row2, length), (CCellHit{196, true, 1}));
    EXPECT_EQ(l.PointToCell(l.CellX(13 + 3 * 4 + 2) + 7, row2, length), (CCellHit{196, true, 1}));
    // The two blanks before the characters: the row's last byte, hex pane.
    EXPECT_EQ(l.PointToCell(l.CellX(60), row2, length), (CCellHit{207, true, 1}));
    EXPECT_EQ(l.PointToCell(l.CellX(61), row2, length), (CCellHit{207, true, 0}));
    // Characters, and right of them the last one.
    EXPECT_EQ(l.PointToCell(l.CellX(62 + 7), row2, length), (CCellHit{199, false, 0}));
    EXPECT_EQ(l.PointToCell(5000, row2, length), (CCellHit{207, false, 0}));
    // Past the short last row and below it: the end position, high digit.
    const int row3 = 2 + 3 * 16;
    EXPECT_EQ(l.PointToCell(l.CellX(13 + 3 * 10 + 1), row3, length), (CCellHit{length, true, 0}));
    EXPECT_EQ(l.PointToCell(l.CellX(62 + 10), row3 + 16 * 3, length), (CCellHit{length, false, 0}));
    // Above and below the client area: first and last visible row.
    EXPECT_EQ(l.PointToCell(5, -500, 100000), (CCellHit{160, true, 0}));
    EXPECT_EQ(l.PointToCell(5, 5000, 100000), (CCellHit{160 + 9 * 16, true, 0}));
    // Far left of the window.
    EXPECT_EQ(l.PointToCell(-300, row2, length), (CCellHit{192, true, 0}));
}

TEST(RowLayout, ClampTop) {
    CRowLayout l = SixteenByTen();          // V = 160
    EXPECT_EQ(l.ClampTop(2000, 1000), 848); // the last page ends with the row of 1000
    EXPECT_EQ(l.ClampTop(-5, 1000), 0);
    EXPECT_EQ(l.ClampTop(100, 1000), 96);
    EXPECT_EQ(l.ClampTop(100, 50), 0);
    EXPECT_EQ(l.ClampTop(0, 960), 0);
    EXPECT_EQ(l.ClampTop(5000, 960), 816); // the empty row of offset 960 is the last one
    // Ensure visible: up to put the row at the top, down to put it at the bottom.
    EXPECT_EQ(l.ClampTop(480, 1000, 100), 96);
    EXPECT_EQ(l.ClampTop(0, 1000, 500), 352);
    EXPECT_EQ(l.ClampTop(0, 1000, 159), 0);
    EXPECT_EQ(l.ClampTop(0, 1000, 160), 16);
    EXPECT_EQ(l.ClampTop(0, 1000, 1000), 848);
}

TEST(RowLayout, ScrollBarScale) {
    CRowLayout l = SixteenByTen();
    EXPECT_EQ(l.ScrollPage(0), 0);
    EXPECT_EQ(l.ScrollPage(160), 1000);
    EXPECT_EQ(l.ScrollPage(159), 1006);
    EXPECT_EQ(l.ScrollPage(1), 2000);
    EXPECT_EQ(l.ScrollPage(std::int64_t{5} << 30), 1);
    EXPECT_EQ(CRowLayout::ScrollPosition(500, 1000), 500);
    EXPECT_EQ(CRowLayout::ScrollPosition(0, 0), 0);
    EXPECT_EQ(CRowLayout::ThumbToTop(1000, INT64_MAX), INT64_MAX);
    EXPECT_EQ(CRowLayout::ThumbToTop(999, INT64_MAX), INT64_MAX / 1000 * 999 + 806);
    EXPECT_EQ(CRowLayout::ScrollPosition(INT64_MAX, INT64_MAX), 1000);
    EXPECT_EQ(CRowLayout::ScrollPosition(INT64_MAX / 2, INT64_MAX), 499);
    const std::int64_t big = (std::int64_t{5} << 30) + 12345;
    for (int k = 0; k <= 1000; k += 37)
        EXPECT_EQ(CRowLayout::ThumbToTop(k, big), big * k / 1000);
}

// The painter and hit testing find each byte where the formatter wrote it,
// with the normal and with a widened address column.
TEST(RowLayout, CellsOfAColumnHoldWhatTheFormatterWrote) {
    for (const std::int64_t length : {std::int64_t{100}, std::int64_t{1} << 45}) {
        CRowLayout l;
        l.m_nAddressDigits = CRowLayout::AddressDigitsFor(length, true);
        l.Recalc(4000, 100, 16);
        ASSERT_EQ(l.m_nBytesPerRow, 16);
        CRowFormatter formatter;
        formatter.Configure(16, l.m_nAddressDigits, true, false, kCharSetAscii);
        unsigned char bytes[16];
        for (int i = 0; i < 16; ++i)
            bytes[i] = static_cast<unsigned char>(0x41 + i); // 'A' ... 'P'
        unsigned char line[CRowLayout::kMaxRowCells];
        EXPECT_EQ(formatter.Format(line, 0, true, bytes, 16), l.RowCells());
        for (int col = 0; col < 16; ++col) {
            SCOPED_TRACE(col);
            EXPECT_EQ(line[l.HexCell(col)], col < 15 ? '4' : '5');
            EXPECT_EQ(line[l.HexCell(col) + 1], "123456789ABCDEF0"[col]);
            EXPECT_EQ(line[l.CharCell(col)], bytes[col]);
            EXPECT_EQ(l.CellToPoint(col, true, 1).x, l.CellX(l.HexCell(col) + 1));
        }
    }
}
