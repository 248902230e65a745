#include "display/RowFormatter.h"
#include "display/RowLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string FormatRow(const CRowFormatter& f, std::int64_t address, bool showAddress,
                      const std::vector<unsigned char>& bytes) {
    unsigned char line[CRowLayout::kMaxRowCells];
    const int n =
        f.Format(line, address, showAddress, bytes.data(), static_cast<int>(bytes.size()));
    return std::string(reinterpret_cast<const char*>(line), static_cast<size_t>(n));
}

} // namespace

TEST(RowFormatter, FullAndShortRows) {
    CRowFormatter f;
    f.Configure(4, 11, true, false, kCharSetAscii);
    EXPECT_EQ(FormatRow(f, 0, true, {0x41, 0x00, 0x7F, 0xFF}), "00000000000  41 00 7F FF  A...");
    EXPECT_EQ(FormatRow(f, 0xABCDEF, true, {0x61, 0x3a}), "00000ABCDEF  61 3A        a:  ");
    EXPECT_EQ(FormatRow(f, 8, false, {}), std::string(30, ' '));
}

TEST(RowFormatter, SixteenBytesPutTheCharactersAtCell62) {
    CRowFormatter f;
    f.Configure(16, 11, true, true, kCharSetAscii);
    std::vector<unsigned char> bytes;
    for (int i = 0; i < 16; ++i)
        bytes.push_back(static_cast<unsigned char>(0x30 + i));
    const std::string row = FormatRow(f, 16, true, bytes);
    ASSERT_EQ(row.size(), 78u);
    EXPECT_EQ(row.substr(0, 13), "00000000010  ");
    EXPECT_EQ(row.substr(13, 3), "30 ");
    EXPECT_EQ(row.substr(58, 4), "3F  ");
    EXPECT_EQ(row.substr(62), "0123456789:;<=>?");
}

TEST(RowFormatter, DecimalAndWideAddresses) {
    CRowFormatter f;
    f.Configure(1, 11, false, false, kCharSetAscii);
    EXPECT_EQ(FormatRow(f, 1234567, true, {0x20}), "00001234567  20   ");
    EXPECT_EQ(FormatRow(f, 99999999999, true, {}).substr(0, 11), "99999999999");
    // Twelve digits shift the rest of the row by one cell.
    f.Configure(1, 12, false, false, kCharSetAscii);
    EXPECT_EQ(FormatRow(f, 100000000000, true, {0x42}), "100000000000  42  B");
    f.Configure(1, 16, true, false, kCharSetAscii);
    EXPECT_EQ(FormatRow(f, INT64_MAX, true, {}).substr(0, 16), "7FFFFFFFFFFFFFFF");
    f.Configure(1, 19, false, false, kCharSetAscii);
    EXPECT_EQ(FormatRow(f, INT64_MAX, true, {}).substr(0, 19), "9223372036854775807");
}

TEST(RowFormatter, EbcdicCharacters) {
    CRowFormatter f;
    f.Configure(3, 11, true, false, kCharSetEbcdic);
    EXPECT_EQ(FormatRow(f, 0, true, {0xC1, 0x40, 0x25}).substr(23), "A .");
}

TEST(RowFormatter, LongestRowFitsTheBuffer) {
    CRowFormatter f;
    f.Configure(1000, 40, false, true, kCharSetAscii); // both limited
    std::vector<unsigned char> bytes(CRowLayout::kMaxBytesPerRow, 0xAA);
    const std::string row = FormatRow(f, INT64_MAX, true, bytes);
    EXPECT_EQ(static_cast<int>(row.size()), CRowLayout::kMaxRowCells);
    EXPECT_EQ(row.back(), '\xAA');
}
