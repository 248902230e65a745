#include "display/StatusTexts.h"

#include <gtest/gtest.h>

TEST(StatusTexts, OffsetInDecimalAndUpperCaseHex) {
    EXPECT_EQ(FormatOffsetStatus(255), "Ofs 255  0xFF");
    EXPECT_EQ(FormatOffsetStatus(0), "Ofs 0  0x0");
    EXPECT_EQ(FormatOffsetStatus(0x100000000LL), "Ofs 4294967296  0x100000000");
    EXPECT_EQ(FormatOffsetStatus(INT64_MAX), "Ofs 9223372036854775807  0x7FFFFFFFFFFFFFFF");
}

TEST(StatusTexts, SelectionIsEmptyWithoutLength) {
    EXPECT_EQ(FormatSelectionStatus(0), "");
    EXPECT_EQ(FormatSelectionStatus(255), "Sel 255  0xFF");
    EXPECT_EQ(FormatSelectionStatus(0x1234567890LL), "Sel 78187493520  0x1234567890");
}
