#include "document/ByteRange.h"

#include <gtest/gtest.h>

TEST(ByteRange, BetweenEndContainsAndClamp) {
    EXPECT_EQ(CByteRange::Between(7, 3), (CByteRange{3, 4}));
    EXPECT_EQ(CByteRange::Between(3, 7), (CByteRange{3, 4}));
    EXPECT_TRUE(CByteRange::Between(5, 5).IsEmpty());

    const CByteRange r{10, 5};
    EXPECT_EQ(r.End(), 15);
    EXPECT_FALSE(r.Contains(9));
    EXPECT_TRUE(r.Contains(10));
    EXPECT_TRUE(r.Contains(14));
    EXPECT_FALSE(r.Contains(15)); // the end is past the range
    EXPECT_FALSE((CByteRange{4, 0}).Contains(4));

    struct Case {
        CByteRange range;
        std::int64_t length;
        CByteRange clamped;
    };
    const Case cases[] = {
        {{10, 5}, 100, {10, 5}}, // inside
        {{10, 5}, 12, {10, 2}},  // cut at the end
        {{10, 5}, 8, {8, 0}},    // wholly beyond: empty at the end
        {{-3, 5}, 100, {0, 2}},  // starts before the content
        {{0, 0}, 0, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.range.Clamped(c.length), c.clamped) << c.range.start << "+" << c.range.length;
}
