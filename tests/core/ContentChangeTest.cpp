#include "storage/ContentChange.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Applies a change to a byte model; inserted bytes take `fill`.
void Apply(std::vector<int>& bytes, const CContentChange& change, int fill) {
    const auto at = bytes.begin() + change.m_nOffset;
    bytes.erase(at, at + change.m_nRemoved);
    bytes.insert(bytes.begin() + change.m_nOffset, static_cast<size_t>(change.m_nInserted), fill);
}

TEST(ContentChange, MapOffsetKeepsPositionsBeforeMovesThoseAfterAndClampsThoseInside) {
    struct Row {
        CContentChange change;
        std::int64_t pos;
        std::int64_t expected;
    };
    const Row rows[] = {
        {{10, 0, 4}, 9, 9},   {{10, 0, 4}, 10, 14}, {{10, 0, 4}, 20, 24}, // insert
        {{10, 5, 0}, 9, 9},   {{10, 5, 0}, 12, 10}, {{10, 5, 0}, 15, 10}, // delete
        {{10, 5, 0}, 30, 25}, {{10, 3, 3}, 11, 11}, {{10, 3, 3}, 13, 13}, // overwrite
        {{10, 6, 2}, 14, 12}, {{10, 2, 6}, 11, 11},                       // replace
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.change.MapOffset(row.pos), row.expected)
            << row.change.m_nOffset << "/" << row.change.m_nRemoved << "/" << row.change.m_nInserted
            << " at " << row.pos;
}

TEST(ContentChange, CoveringHoldsEveryByteEitherChangeTouched) {
    // Every pair of small changes over a 12-byte content: outside the cover
    // the bytes are the original ones, shifted by the length change.
    const std::vector<CContentChange> changes = {
        {0, 0, 2}, {3, 0, 1}, {5, 2, 0}, {2, 3, 3}, {4, 4, 1}, {11, 1, 0}, {6, 1, 4}, {1, 0, 0},
    };
    for (const CContentChange& first : changes) {
        for (const CContentChange& then : changes) {
            std::vector<int> bytes(12);
            for (int i = 0; i < 12; ++i)
                bytes[static_cast<size_t>(i)] = i;
            const std::vector<int> original = bytes;
            Apply(bytes, first, -1);
            if (then.m_nOffset + then.m_nRemoved > static_cast<std::int64_t>(bytes.size()))
                continue;
            Apply(bytes, then, -2);
            const CContentChange cover = CContentChange::Covering(first, then);
            ASSERT_GE(cover.m_nRemoved, 0);
            ASSERT_EQ(static_cast<std::int64_t>(bytes.size()),
                      12 + cover.m_nInserted - cover.m_nRemoved);
            for (std::int64_t i = 0; i < cover.m_nOffset; ++i)
                EXPECT_EQ(bytes[static_cast<size_t>(i)], original[static_cast<size_t>(i)]);
            for (std::int64_t i = cover.m_nOffset + cover.m_nRemoved; i < 12; ++i)
                EXPECT_EQ(bytes[static_cast<size_t>(i + cover.Delta())],
                          original[static_cast<size_t>(i)])
                    << "first " << first.m_nOffset << "/" << first.m_nRemoved << "/"
                    << first.m_nInserted << " then " << then.m_nOffset << "/" << then.m_nRemoved
                    << "/" << then.m_nInserted;
        }
    }
}

} // namespace
