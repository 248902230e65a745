#include "display/OptionsLogic.h"

#include <gtest/gtest.h>

#include <optional>

TEST(OptionsLogic, ColumnCountIsAnUnsignedDecimalNumber) {
    struct Case {
        const char* text;
        std::optional<unsigned> value;
    };
    const Case cases[] = {
        {"16", 16u},
        {"0", 0u},
        {" \t 16 ", 16u},
        {"+8", 8u},
        {"007", 7u},
        {"4294967295", 4294967295u},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"-1", std::nullopt}, // would wrap to a huge count
        {"+", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"0x10", std::nullopt},
        {"4294967296", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseColumnCount(c.text), c.value) << '"' << c.text << '"';
}

TEST(OptionsLogic, TheBoundIsWhatARowHolds) {
    EXPECT_EQ(kMaxFixedColumns, static_cast<unsigned>(CRowLayout::kMaxBytesPerRow));
    EXPECT_NE(TooManyColumnsMessage().find(std::to_string(kMaxFixedColumns)), std::string::npos);
}
