#include "storage/Digits.h"
#include "commands/FindAllResults.h"
#include "display/PrintLayout.h"
#include "display/RowFormatter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string WithoutLeadingZeros(std::string text) {
    const size_t first = text.find_first_not_of('0');
    return first == std::string::npos ? "0" : text.substr(first);
}

} // namespace

TEST(Digits, CountAndWriteAtEachBaseBoundary) {
    struct Case {
        std::uint64_t value;
        bool hex;
        const char* text;
    };
    const Case cases[] = {
        {0, true, "0"},
        {15, true, "F"},
        {16, true, "10"},
        {0xFFFFFFFF, true, "FFFFFFFF"},
        {0x100000000, true, "100000000"},
        {UINT64_MAX, true, "FFFFFFFFFFFFFFFF"},
        {9, false, "9"},
        {10, false, "10"},
        {99999999999, false, "99999999999"},
        {UINT64_MAX, false, "18446744073709551615"},
    };
    for (const Case& c : cases) {
        const int digits = DigitCount(c.value, c.hex);
        EXPECT_EQ(digits, static_cast<int>(std::string(c.text).size())) << c.text;
        std::string padded(static_cast<size_t>(digits + 3), '?');
        WriteDigits(padded.data(), c.value, digits + 3, c.hex);
        EXPECT_EQ(padded, std::string("000") + c.text);
    }
    // A column never narrows below its minimum, and an empty range's address
    // (before 0) takes that minimum.
    EXPECT_EQ(AddressDigits(-1, true, 11), 11);
    EXPECT_EQ(AddressDigits(0xFFFFFFFF, true, 8), 8);
    EXPECT_EQ(AddressDigits(0x100000000, true, 8), 9);
    EXPECT_EQ(AddressDigits(INT64_MAX, false, 1), 19);
}

// The grid's rows, the printed lines and the find-all list write an address
// with the same digits, each padded to its own column.
TEST(Digits, GridPrinterAndFindAllShowAnAddressAlike) {
    const std::int64_t addresses[] = {
        0x1F, 0xFFFFFFFF, 0x100000000, std::int64_t{1} << 44, 100000000000, INT64_MAX - 15};
    const unsigned char byte = 0x41;
    for (const std::int64_t address : addresses) {
        for (const bool hex : {true, false}) {
            const int gridDigits = CRowLayout::AddressDigitsFor(address + 1, hex);
            CRowFormatter formatter;
            formatter.Configure(16, gridDigits, hex, false, 0);
            unsigned char row[CRowLayout::kMaxRowCells];
            formatter.Format(row, address, true, &byte, 1);
            const std::string grid(reinterpret_cast<const char*>(row),
                                   static_cast<size_t>(gridDigits));

            const int printDigits = PrintAddressDigits(address, hex);
            const std::string printed =
                FormatPrintLine(address, printDigits, hex, &byte, 1, false).substr(0, printDigits);

            std::string listed = FormatResultOffset(address, hex);
            if (hex) {
                ASSERT_EQ(listed.substr(0, 2), "0x");
                listed = listed.substr(2);
            }
            EXPECT_EQ(WithoutLeadingZeros(grid), WithoutLeadingZeros(printed)) << grid;
            EXPECT_EQ(WithoutLeadingZeros(listed), WithoutLeadingZeros(printed)) << listed;
            EXPECT_GE(grid.size(), static_cast<size_t>(DigitCount(address, hex)));
        }
    }
}
