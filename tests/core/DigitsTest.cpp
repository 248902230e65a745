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
            if (hex) { // both at least 8 digits, and more only where needed
                EXPECT_EQ(listed.size(), printed.size()) << listed;
            }
        }
    }
}
