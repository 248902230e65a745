// The typing-run rule: which keystrokes join the open run and which caret
// moves end it.
#include "document/TypingRun.h"

#include <gtest/gtest.h>

namespace {

const int kViewA = 0;
const int kViewB = 1;
const void* const A = &kViewA;
const void* const B = &kViewB;

// A run of view A that has typed at offset 10, leaving content state 100 and
// its caret on byte 11.
CTypingRun RunAfterOneByte() {
    CTypingRun run;
    run.Typed(7, A, 10, 100);
    run.KeystrokeDone(A, {11, 11});
    return run;
}

} // namespace

TEST(TypingRun, OnlyTheSameViewAtTheSameOrNextByteOnUntouchedContentContinues) {
    struct Row {
        const void* typist;
        std::int64_t offset;
        std::uint64_t state;
        bool continues;
    };
    const Row rows[] = {
        {A, 10, 100, true},  // the second hex digit of the same byte
        {A, 11, 100, true},  // the next byte
        {A, 12, 100, false}, // a byte further on
        {A, 9, 100, false},  // a byte before
        {B, 11, 100, false}, // another view
        {A, 11, 101, false}, // the content changed in between
    };
    const CTypingRun run = RunAfterOneByte();
    EXPECT_EQ(run.Group(), 7u);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "offset " << row.offset << " state " << row.state);
        EXPECT_EQ(run.Continues(row.typist, row.offset, row.state), row.continues);
    }
    EXPECT_FALSE(CTypingRun().Continues(A, 0, 0)) << "no run, nothing to continue";
}

TEST(TypingRun, TheTypistsCaretGoingElsewhereEndsTheRun) {
    struct Row {
        const char* what;
        const void* typist;
        CEditPlace place;
        bool ends;
    };
    const Row rows[] = {
        {"where the keystroke left it", A, {11, 11}, false},
        {"another view's caret", B, {40, 40}, false},
        {"another byte", A, {12, 12}, true},
        {"a selection from the same caret", A, {11, 5}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CTypingRun run = RunAfterOneByte();
        run.CaretAt(row.typist, row.place);
        EXPECT_EQ(run.Group() == 0, row.ends);
        EXPECT_EQ(run.IsOf(A), !row.ends);
    }
}

TEST(TypingRun, CaretMovesInsideAKeystrokeAreItsOwn) {
    CTypingRun run = RunAfterOneByte();
    run.Typed(7, A, 11, 101);
    run.CaretAt(A, {12, 12}); // the keystroke moving the caret on
    EXPECT_TRUE(run.IsOf(A));
    run.KeystrokeDone(A, {12, 12});
    EXPECT_TRUE(run.Continues(A, 12, 101));
    run.CaretAt(A, {30, 30});
    EXPECT_FALSE(run.IsOf(A));

    // A keystroke the table did not record (no step) leaves no run behind.
    run.Typed(0, A, 5, 102);
    EXPECT_EQ(run.Group(), 0u);
    run.KeystrokeDone(A, {6, 6});
    EXPECT_FALSE(run.Continues(A, 6, 102));
}
