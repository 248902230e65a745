#include "display/CaretState.h"

#include <gtest/gtest.h>

namespace {

// A caret at `place`, in the hex pane or not, on a content of 100 bytes shown
// 16 bytes a row, 4 rows a page.
CCaretState At(CCaretPlace place, bool hexPane) {
    CCaretState state;
    state.MoveTo(place, false);
    if (!hexPane)
        state.SwitchPane();
    return state;
}

} // namespace

TEST(CaretState, KeysMoveByDigitByteRowPageAndToTheEnds) {
    constexpr std::int64_t kLength = 100;
    struct Case {
        CCaretPlace from;
        bool hexPane;
        CaretKey key;
        CCaretPlace to;
    };
    const Case cases[] = {
        {{5, 0}, true, CaretKey::Right, {5, 1}},    // hex pane: by digit
        {{5, 1}, true, CaretKey::Right, {6, 0}},    // low digit carries on
        {{5, 0}, true, CaretKey::Left, {4, 1}},     // and back
        {{0, 0}, true, CaretKey::Left, {0, 0}},     // stops at the start
        {{99, 1}, true, CaretKey::Right, {100, 0}}, // the end has no low digit
        {{5, 0}, false, CaretKey::Right, {6, 0}},   // character pane: by byte
        {{5, 0}, false, CaretKey::Left, {4, 0}},    //
        {{20, 1}, true, CaretKey::Up, {4, 1}},      // rows keep the digit
        {{10, 0}, true, CaretKey::Up, {0, 0}},      // limited at the top
        {{90, 1}, true, CaretKey::Down, {100, 0}},  // and at the end
        {{70, 0}, true, CaretKey::PageUp, {6, 0}},  // a page is 64 bytes
        {{50, 0}, true, CaretKey::PageDown, {100, 0}},
        {{37, 1}, true, CaretKey::RowStart, {32, 0}},
        {{37, 0}, true, CaretKey::RowEnd, {47, 1}},
        {{97, 0}, true, CaretKey::RowEnd, {100, 0}}, // a short last row ends at the end
        {{50, 1}, true, CaretKey::Start, {0, 0}},
        {{50, 1}, false, CaretKey::End, {100, 0}},
    };
    for (const Case& c : cases) {
        const CCaretState state = At(c.from, c.hexPane);
        EXPECT_EQ(state.KeyTarget(c.key, 16, 64, kLength), c.to)
            << "from " << c.from.offset << "." << c.from.nibble << " key "
            << static_cast<int>(c.key);
    }
}

TEST(CaretState, SelectionFollowsTheAnchorAndStaysOnTheContent) {
    CCaretState state = At({10, 0}, true);
    state.MoveTo({14, 1}, true); // extending keeps the anchor
    EXPECT_EQ(state.Selection(), (CByteRange{10, 4}));
    state.MoveTo({6, 0}, true); // caret before the anchor: same kind of range
    EXPECT_EQ(state.Selection(), (CByteRange{6, 4}));
    EXPECT_TRUE(state.CollapseSelection());
    EXPECT_FALSE(state.CollapseSelection());
    EXPECT_TRUE(state.Selection().IsEmpty());

    state.SetAnchor(500, 100);
    EXPECT_EQ(state.Anchor(), 100);
    state.SetCaret(-4, 100);
    EXPECT_EQ(state.Place(), (CCaretPlace{0, 0}));

    // Another view shortened the content under caret and anchor.
    state.MoveTo({40, 1}, false);
    EXPECT_FALSE(state.ClampTo(41));
    EXPECT_TRUE(state.ClampTo(40)); // the low digit of the new end position goes
    EXPECT_EQ(state.Place(), (CCaretPlace{40, 0}));
    EXPECT_TRUE(state.ClampTo(12));
    EXPECT_EQ(state.Place(), (CCaretPlace{12, 0}));
    EXPECT_EQ(state.Anchor(), 12);
}

// Moves that end on or next to the end position, on contents whose last row is
// full (96), ends exactly at a row's last byte (95), is partial (100) or that
// are empty (0). The end position takes no low digit in either pane, whatever
// digit the move asked for.
TEST(CaretState, MovesNearTheEndNeverLeaveALowDigitOnTheEndPosition) {
    struct Case {
        std::int64_t length;
        CCaretPlace from;
        bool hexPane;
        CaretKey key;
        CCaretPlace to;
    };
    const Case cases[] = {
        {0, {0, 0}, true, CaretKey::Right, {0, 0}}, // empty: every key stays at 0
        {0, {0, 0}, true, CaretKey::Left, {0, 0}},
        {0, {0, 0}, true, CaretKey::RowEnd, {0, 0}},
        {0, {0, 0}, true, CaretKey::Down, {0, 0}},
        {0, {0, 0}, false, CaretKey::Right, {0, 0}},
        {0, {0, 0}, true, CaretKey::End, {0, 0}},

        {96, {95, 0}, true, CaretKey::Right, {95, 1}}, // full last row
        {96, {95, 1}, true, CaretKey::Right, {96, 0}},
        {96, {96, 0}, true, CaretKey::Right, {96, 0}}, // no digit after the end
        {96, {96, 0}, true, CaretKey::Left, {95, 1}},
        {96, {95, 0}, false, CaretKey::Right, {96, 0}},
        {96, {96, 0}, false, CaretKey::Right, {96, 0}},
        {96, {85, 0}, true, CaretKey::RowEnd, {95, 1}}, // a real last byte keeps it
        {96, {96, 0}, true, CaretKey::RowEnd, {96, 0}}, // the end's own row is empty
        {96, {80, 1}, true, CaretKey::Down, {96, 0}},
        {96, {32, 1}, true, CaretKey::PageDown, {96, 0}},
        {96, {50, 1}, true, CaretKey::End, {96, 0}},

        {95, {85, 0}, true, CaretKey::RowEnd, {95, 0}}, // the row's end is the end
        {95, {85, 1}, false, CaretKey::RowEnd, {95, 0}},
        {95, {94, 1}, true, CaretKey::Right, {95, 0}},
        {95, {79, 1}, true, CaretKey::Down, {95, 0}},
        {95, {31, 1}, true, CaretKey::PageDown, {95, 0}},

        {100, {100, 0}, true, CaretKey::Left, {99, 1}}, // partial last row
        {100, {100, 0}, true, CaretKey::Up, {84, 0}},
        {100, {99, 1}, false, CaretKey::Right, {100, 0}}, // a kept digit is dropped
        {100, {50, 1}, false, CaretKey::Right, {51, 1}},  // elsewhere it is kept
        {100, {84, 1}, true, CaretKey::Down, {100, 0}},
    };
    for (const Case& c : cases) {
        const CCaretState state = At(c.from, c.hexPane);
        EXPECT_EQ(state.KeyTarget(c.key, 16, 64, c.length), c.to)
            << "length " << c.length << " from " << c.from.offset << "." << c.from.nibble
            << (c.hexPane ? " hex" : " chars") << " key " << static_cast<int>(c.key);
    }
}
