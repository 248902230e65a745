// Caret and anchor following the changes of the content under them.
#include "display/CaretState.h"

#include <gtest/gtest.h>

TEST(CaretFollow, CaretAndAnchorMoveWithTheBytesUnderThem) {
    struct Row {
        const char* what;
        CContentChanges changes;
        std::int64_t caret;
        int nibble;
        std::int64_t anchor;
        std::int64_t wantCaret;
        int wantNibble;
        std::int64_t wantAnchor;
    };
    // The content is 100 bytes long before the changes.
    const Row rows[] = {
        {"overwrite around the caret", {{10, 5, 5}}, 12, 1, 8, 12, 1, 8},
        {"insert before both", {{5, 0, 4}}, 12, 1, 8, 16, 1, 12},
        {"insert at the caret", {{12, 0, 4}}, 12, 1, 20, 12, 1, 24},
        {"insert at the anchor", {{8, 0, 4}}, 12, 1, 8, 16, 1, 8},
        {"insert after both", {{50, 0, 4}}, 12, 1, 8, 12, 1, 8},
        {"delete before both", {{0, 5, 0}}, 12, 1, 8, 7, 1, 3},
        {"delete holding the caret", {{10, 5, 0}}, 12, 1, 20, 10, 0, 15},
        {"shorter replacement holding the caret", {{10, 6, 2}}, 14, 1, 14, 12, 0, 12},
        {"delete up to the end", {{90, 10, 0}}, 95, 1, 50, 90, 0, 50},
        {"whole content, shorter", {{0, 100, 60}}, 80, 1, 30, 60, 0, 30},
        {"whole content, longer, caret at the end", {{0, 100, 150}}, 100, 0, 0, 150, 0, 0},
        {"changes apply in order", {{0, 0, 10}, {5, 20, 0}}, 12, 1, 40, 5, 0, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CCaretState state;
        state.SetAnchor(row.anchor, 100);
        state.MoveTo({row.caret, row.nibble}, true);
        std::int64_t length = 100;
        for (const CContentChange& change : row.changes)
            length += change.Delta();
        const bool moved = state.Follow(row.changes, length);
        EXPECT_EQ(state.Offset(), row.wantCaret);
        EXPECT_EQ(state.Nibble(), row.wantNibble);
        EXPECT_EQ(state.Anchor(), row.wantAnchor);
        EXPECT_EQ(moved, row.wantCaret != row.caret || row.wantNibble != row.nibble ||
                             row.wantAnchor != row.anchor);
    }
}
