#include "commands/GoToLogic.h"

#include <gtest/gtest.h>

#include <optional>

TEST(GoToLogic, OffsetTextsParseLikeI64i) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {
        {"0x1F", 31},
        {"0X1f", 31},
        {"31", 31},
        {"037", 31},
        {"+31", 31},
        {"-10", -10},
        {" \t\r\n 10", 10},
        {"-0x10", -16},
        {"0", 0},
        {"-0", 0},
        {"12abc", 12},
        {"08", 0},
        {"0x1Fz", 31},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"0x7FFFFFFFFFFFFFFF", INT64_MAX},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"0x", std::nullopt},
        {"0xg", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"- 1", std::nullopt},
        // Too large for 64 bits: refused, never wrapped.
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775809", std::nullopt},
        {"18446744073709551617", std::nullopt},
        {"0xFFFFFFFFFFFFFFFF", std::nullopt},
        {"1000000000000000000000", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseOffsetText(c.text), c.value) << '"' << c.text << '"';
}

TEST(GoToLogic, TargetsAreCountedFromTheOriginAndClamped) {
    const std::int64_t length = 100;
    EXPECT_EQ(GoToTarget(kGoToStart, 31, length, 50), 31);
    EXPECT_EQ(GoToTarget(kGoToStart, 500, length, 50), 100);
    EXPECT_EQ(GoToTarget(kGoToStart, -5, length, 50), 0);
    EXPECT_EQ(GoToTarget(kGoToCaret, 10, length, 50), 60);
    EXPECT_EQ(GoToTarget(kGoToCaret, -10, length, 50), 40);
    EXPECT_EQ(GoToTarget(kGoToCaret, -10, length, 4), 0);
    EXPECT_EQ(GoToTarget(kGoToEnd, -1, length, 0), 99);
    EXPECT_EQ(GoToTarget(kGoToEnd, 0, length, 0), 100);
    EXPECT_EQ(GoToTarget(kGoToEnd, -1000, length, 0), 0);
    // Extreme values saturate instead of overflowing.
    EXPECT_EQ(GoToTarget(kGoToCaret, INT64_MAX, length, 50), 100);
    EXPECT_EQ(GoToTarget(kGoToEnd, INT64_MAX, INT64_MAX, 0), INT64_MAX);
    EXPECT_EQ(GoToTarget(kGoToCaret, INT64_MIN, length, 50), 0);
    EXPECT_EQ(GoToTarget(7, 31, length, 50), 31);
}

TEST(GoToLogic, CaretBoxAndMessage) {
    EXPECT_EQ(FormatCaretBox(4660), "0x1234\n4660");
    EXPECT_EQ(FormatCaretBox(0x100000000LL), "0x100000000\n4294967296");
    EXPECT_EQ(GoToBadOffsetMessage(),
              "Entrer offset soit en decimal ou hexadecimal (precedé par 0x) numbres.");
}
