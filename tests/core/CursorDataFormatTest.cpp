#include "display/CursorDataFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

std::string NanText(bool negative) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", negative ? -std::nan("") : std::nan(""));
    return buffer;
}

} // namespace

TEST(CursorDataFormat, AllOnesShowUnsignedWithSignedInParentheses) {
    const std::uint8_t ff[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (const int order : {0, 1, -1}) {
        const CursorDataTexts t = FormatCursorData(ff, 8, order);
        EXPECT_EQ(t[0], "255 (-1)");
        EXPECT_EQ(t[1], "65535 (-1)");
        EXPECT_EQ(t[2], "4294967295 (-1)");
        EXPECT_EQ(t[3], NanText(true));
        EXPECT_EQ(t[4], NanText(true));
    }
}

TEST(CursorDataFormat, FloatOneInBothOrders) {
    const std::uint8_t one[4] = {0x00, 0x00, 0x80, 0x3F};
    CursorDataTexts t = FormatCursorData(one, 4, 0);
    EXPECT_EQ(t[0], "0");
    EXPECT_EQ(t[1], "0");
    EXPECT_EQ(t[2], "1065353216");
    EXPECT_EQ(t[3], "1");
    EXPECT_EQ(t[4], "---");

    t = FormatCursorData(one, 4, 1);
    EXPECT_EQ(t[1], "0");
    EXPECT_EQ(t[2], "32831");
    EXPECT_EQ(t[3], "4.6006e-41");

    const std::uint8_t dbl[8] = {0x3F, 0xF8, 0, 0, 0, 0, 0, 0}; // 1.5 big-endian
    EXPECT_EQ(FormatCursorData(dbl, 8, 1)[4], "1.5");
    EXPECT_EQ(FormatCursorData(dbl, 8, 0)[2], "63551");
}

TEST(CursorDataFormat, ShortReadsShowDashes) {
    const std::uint8_t bytes[2] = {0x7F, 0x01};
    CursorDataTexts t = FormatCursorData(bytes, 2, 0);
    EXPECT_EQ(t[0], "127");
    EXPECT_EQ(t[1], "383");
    EXPECT_EQ(t[2], "---");
    EXPECT_EQ(t[3], "---");
    EXPECT_EQ(FormatCursorData(bytes, 2, 1)[1], "32513");

    // The caret on the last byte, then at the end.
    t = FormatCursorData(bytes + 1, 1, 0);
    EXPECT_EQ(t, (CursorDataTexts{"1", "---", "---", "---", "---"}));
    t = FormatCursorData(nullptr, 0, 0);
    EXPECT_EQ(t, (CursorDataTexts{"---", "---", "---", "---", "---"}));

    const std::uint8_t negative[3] = {0x80, 0x00, 0x80};
    t = FormatCursorData(negative, 3, 0);
    EXPECT_EQ(t[0], "128 (-128)");
    EXPECT_EQ(t[1], "128");
    EXPECT_EQ(FormatCursorData(negative, 3, 1)[1], "32768 (-32768)");
}

TEST(CursorDataCache, ComputesOncePerKey) {
    CCursorDataCache cache;
    int view = 0, other = 0;
    EXPECT_TRUE(cache.NeedsCompute(&view, 0, -1));
    cache.Store({"a", "b", "c", "d", "e"});
    EXPECT_FALSE(cache.NeedsCompute(&view, 0, -1));
    EXPECT_EQ(cache.Text(1045), "a");
    EXPECT_EQ(cache.Text(1049), "e");
    EXPECT_EQ(cache.Text(1050), "");
    EXPECT_EQ(cache.Text(1044), "");

    EXPECT_TRUE(cache.NeedsCompute(&view, 1, -1));
    EXPECT_TRUE(cache.NeedsCompute(&view, 1, 0));
    EXPECT_TRUE(cache.NeedsCompute(&other, 1, 0));
    EXPECT_TRUE(cache.NeedsCompute(&other, 1, 0, 7));
    EXPECT_FALSE(cache.NeedsCompute(&other, 1, 0, 7));
    // A failed read keeps the key: no second report for the same place.
    EXPECT_EQ(cache.Text(1045), "a");
    cache.Invalidate();
    EXPECT_TRUE(cache.NeedsCompute(&other, 1, 0, 7));
}
