// Caret movement, selection and typing in the hex grid.
#include "HexGridTestSupport.h"

#include "platform/FaultInjection.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

using namespace gridtest;

namespace {

struct Selection {
    std::int64_t start;
    std::int64_t length;
    bool operator==(const Selection&) const = default;
};

Selection SelectionOf(const CHexGridWnd& grid) {
    Selection s{};
    grid.GetSelection(s.start, s.length);
    return s;
}

} // namespace

TEST(HexGridKeys, LeftAtTheStartAndRightAtTheEndStop) {
    CPieceFile64 file;
    Fill(file, Pattern(40));
    auto grid = MakeGrid(file, 16, 4);
    grid->SetAnchor(5);
    // Left from the high digit of 0 is clamped and keeps the selection.
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->GetCaret(), 0);
    EXPECT_EQ(grid->GetNibble(), 0);
    EXPECT_EQ(SelectionOf(*grid), (Selection{0, 5}));
    // Right steps through the digits, then to the end position.
    grid->SetCaret(39, false);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->GetNibble(), 1);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->GetCaret(), 40);
    EXPECT_EQ(grid->GetNibble(), 0);
    EXPECT_EQ(SelectionOf(*grid), (Selection{40, 0}));
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->GetCaret(), 40);
    // Left from a high digit lands on the previous byte's low digit.
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->GetCaret(), 39);
    EXPECT_EQ(grid->GetNibble(), 1);
    // In the character pane the steps are whole bytes.
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->GetCaret(), 38);
    EXPECT_EQ(grid->GetNibble(), 1);
}

TEST(HexGridKeys, HomeEndAndTheirCtrlForms) {
    CPieceFile64 file;
    Fill(file, Pattern(40)); // the last row holds 8 bytes
    auto grid = MakeGrid(file, 16, 4);
    grid->SetCaret(20, false);
    QTest::keyClick(grid.get(), Qt::Key_End);
    EXPECT_EQ(grid->GetCaret(), 31);
    EXPECT_EQ(grid->GetNibble(), 1);
    QTest::keyClick(grid.get(), Qt::Key_Home);
    EXPECT_EQ(grid->GetCaret(), 16);
    EXPECT_EQ(grid->GetNibble(), 0);
    // End on the short last row stops at the end position, high digit.
    grid->SetCaret(35, false);
    QTest::keyClick(grid.get(), Qt::Key_End);
    EXPECT_EQ(grid->GetCaret(), 40);
    EXPECT_EQ(grid->GetNibble(), 0);
    QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->GetCaret(), 0);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->GetCaret(), 40);
}

TEST(HexGridKeys, ShiftDownThenShiftUpCollapsesTheSelection) {
    CPieceFile64 file;
    Fill(file, Pattern(100));
    auto grid = MakeGrid(file, 16, 4);
    QSignalSpy moved(grid.get(), &CHexGridWnd::selectionChanged);
    QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(SelectionOf(*grid), (Selection{0, 16}));
    QTest::keyClick(grid.get(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(SelectionOf(*grid), (Selection{0, 0}));
    EXPECT_EQ(moved.count(), 2);
    // A move without Shift drops the selection; Escape does too.
    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(SelectionOf(*grid), (Selection{0, 1}));
    QTest::keyClick(grid.get(), Qt::Key_Escape);
    EXPECT_EQ(SelectionOf(*grid), (Selection{1, 0}));
    QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(SelectionOf(*grid), (Selection{33, 0}));
}

TEST(HexGridKeys, MovingOffThePageScrollsJustEnough) {
    CPieceFile64 file;
    Fill(file, Pattern(1000));
    auto grid = MakeGrid(file, 16, 4); // a page is 64 bytes
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->GetCaret(), 64);
    EXPECT_EQ(grid->GetTop(), 16); // the caret's row became the bottom row
    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    EXPECT_EQ(grid->GetCaret(), 128);
    EXPECT_EQ(grid->GetTop(), 80);
    QTest::keyClick(grid.get(), Qt::Key_PageUp, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetCaret(), 0);
    EXPECT_EQ(grid->GetTop(), 0); // the caret's row became the top row
    EXPECT_EQ(SelectionOf(*grid), (Selection{0, 128}));
    // SetCaret scrolls only when asked to.
    grid->SetCaret(500, false);
    EXPECT_EQ(grid->GetTop(), 0);
    EXPECT_FALSE(grid->IsOffsetVisible(500));
    grid->SetCaret(500, true);
    EXPECT_TRUE(grid->IsOffsetVisible(500));
}

TEST(HexGridKeys, TypingHexDigitsOverwritesNibbles) {
    CPieceFile64 file;
    Fill(file, std::vector<unsigned char>(8, 0x00));
    auto grid = MakeGrid(file, 16, 4);
    QSignalSpy edited(grid.get(), &CHexGridWnd::edited);
    QTest::keyClick(grid.get(), '3');
    EXPECT_EQ(ByteAt(file, 0), 0x30);
    EXPECT_EQ(grid->GetNibble(), 1);
    QTest::keyClick(grid.get(), 'f');
    EXPECT_EQ(ByteAt(file, 0), 0x3F);
    EXPECT_EQ(grid->GetCaret(), 1);
    EXPECT_EQ(grid->GetNibble(), 0);
    EXPECT_EQ(edited.count(), 2);
    // The low digit alone keeps the high one; non-digits are ignored.
    QTest::keyClick(grid.get(), Qt::Key_Right);
    QTest::keyClick(grid.get(), 'B');
    QTest::keyClick(grid.get(), 'g');
    QTest::keyClick(grid.get(), ' ');
    EXPECT_EQ(ByteAt(file, 1), 0x0B);
    EXPECT_EQ(ByteAt(file, 2), 0x00);
    EXPECT_EQ(edited.count(), 3);
    // Ctrl with a letter is a shortcut, not a digit.
    QTest::keyClick(grid.get(), 'a', Qt::ControlModifier);
    EXPECT_EQ(ByteAt(file, 2), 0x00);
    EXPECT_EQ(edited.count(), 3);
}

TEST(HexGridKeys, ShiftedCharactersExtendTheSelectionInBothCharSets) {
    CPieceFile64 file;
    Fill(file, std::vector<unsigned char>(8, 0x00));
    auto grid = MakeGrid(file, 16, 4);
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_FALSE(grid->IsHexPane());
    QTest::keyClick(grid.get(), 'A', Qt::ShiftModifier);
    EXPECT_EQ(ByteAt(file, 0), 0x41);
    EXPECT_EQ(SelectionOf(*grid), (Selection{0, 1}));
    grid->SetCharSet(kCharSetEbcdic);
    QTest::keyClick(grid.get(), 'A', Qt::ShiftModifier);
    EXPECT_EQ(ByteAt(file, 1), 0xC1);
    EXPECT_EQ(SelectionOf(*grid), (Selection{0, 2}));
    // Control characters are ignored, other characters overwrite.
    QTest::keyClick(grid.get(), Qt::Key_Return);
    QTest::keyClick(grid.get(), Qt::Key_Backspace);
    EXPECT_EQ(grid->GetCaret(), 2);
    grid->SetCharSet(kCharSetAscii);
    for (const QString& text : {QString::fromUtf8("é"), QString::fromUtf8("€")}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(grid.get(), &press);
    }
    EXPECT_EQ(ByteAt(file, 2), 0xE9);
    EXPECT_EQ(ByteAt(file, 3), 0x80);
    // Tab back: the same byte is typed in hex.
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_TRUE(grid->IsHexPane());
    EXPECT_EQ(grid->GetCaret(), 4);
    QTest::keyClicks(grid.get(), "7e");
    EXPECT_EQ(ByteAt(file, 4), 0x7E);
}

TEST(HexGridKeys, ReadOnlyRefusesEveryCharacterButTabAndEscape) {
    CPieceFile64 file;
    Fill(file, std::vector<unsigned char>(8, 0x00));
    auto grid = MakeGrid(file, 16, 4, true);
    QStringList messages;
    grid->SetPromptHook([&](const QString& text) { messages << text; });
    QSignalSpy edited(grid.get(), &CHexGridWnd::edited);
    QTest::keyClick(grid.get(), '3');
    QTest::keyClick(grid.get(), 'z');
    EXPECT_EQ(messages, QStringList({"Data is read-only", "Data is read-only"}));
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    QTest::keyClick(grid.get(), Qt::Key_Escape);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(ByteAt(file, 0), 0x00);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_EQ(grid->GetCaret(), 1);
}

TEST(HexGridKeys, TypingAtTheEndPositionChangesNothing) {
    CPieceFile64 file;
    Fill(file, Pattern(4));
    auto grid = MakeGrid(file, 16, 4);
    QStringList messages;
    grid->SetPromptHook([&](const QString& text) { messages << text; });
    QSignalSpy edited(grid.get(), &CHexGridWnd::edited);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(grid.get(), '5');
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    QTest::keyClick(grid.get(), 'x');
    EXPECT_EQ(file.GetLength(), 4);
    EXPECT_EQ(grid->GetCaret(), 4);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST(HexGridKeys, FileErrorsWhileTypingAreReportedAndTheCaretStays) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/typed.bin").toStdString();
    std::ofstream(path) << "0123456789";
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), 0x22));
    auto grid = MakeGrid(file, 16, 4);
    QStringList messages;
    grid->SetPromptHook([&](const QString& text) { messages << text; });
    struct FailingReads : platform::FaultInjector {
        int Before(platform::FileOp op, const std::string&, std::int64_t*) override {
            return op == platform::FileOp::Read ? EIO : 0;
        }
    } failing;
    platform::FaultInjector* previous = platform::SetFaultInjector(&failing);
    QTest::keyClick(grid.get(), '4');
    platform::SetFaultInjector(previous);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("typed.bin"));
    EXPECT_EQ(grid->GetCaret(), 0);
    EXPECT_EQ(grid->GetNibble(), 0);
    EXPECT_EQ(ByteAt(file, 0), '0');
}

TEST(HexGridKeys, SelectionOperationsForCommands) {
    CPieceFile64 file;
    Fill(file, Pattern(100));
    auto grid = MakeGrid(file, 16, 4);
    grid->SetCaret(10, true);
    grid->SetAnchor(250); // limited to the length
    EXPECT_EQ(grid->GetAnchor(), 100);
    EXPECT_EQ(SelectionOf(*grid), (Selection{10, 90}));
    EXPECT_EQ(grid->GetSelectedBytes(3), std::string("\x0a\x0b\x0c"));
    EXPECT_EQ(grid->GetSelectedBytes(1000).size(), 90u);
    grid->SetAnchor(10);
    EXPECT_EQ(grid->GetSelectedBytes(1000), std::string());
    grid->SetCaret(-5, false);
    EXPECT_EQ(grid->GetCaret(), 0);
    grid->SetCaret(1000, false);
    EXPECT_EQ(grid->GetCaret(), 100);
}

TEST(HexGridKeys, ShorterFileLimitsCaretAndAnchor) {
    CPieceFile64 file;
    Fill(file, Pattern(100));
    auto grid = MakeGrid(file, 16, 4);
    grid->SetCaret(90, true);
    QTest::keyClick(grid.get(), Qt::Key_Right); // low digit of byte 90
    grid->SetAnchor(95);
    ASSERT_EQ(grid->GetNibble(), 1);
    // Another view of the document deletes the last 50 bytes.
    file.Seek(50, CFile64::begin);
    file.Delete(50);
    grid->SetFile(&file, false);
    EXPECT_EQ(grid->GetCaret(), 50);
    EXPECT_EQ(grid->GetNibble(), 0);
    EXPECT_EQ(grid->GetAnchor(), 50);
    EXPECT_LE(grid->GetTop(), 50);
    QTest::keyClick(grid.get(), '1'); // at the end: refused, nothing raised
    EXPECT_EQ(file.GetLength(), 50);
}

TEST(HexGridKeys, CaretOnALowDigitThatBecomesTheEndGoesToTheHighDigit) {
    CPieceFile64 file;
    Fill(file, Pattern(100));
    auto grid = MakeGrid(file, 16, 4);
    grid->SetCaret(50, true);
    QTest::keyClick(grid.get(), Qt::Key_Right); // low digit of byte 50
    ASSERT_EQ(grid->GetNibble(), 1);
    // Another view deletes from the caret on: the caret is now the end position,
    // which has no low digit.
    file.Seek(50, CFile64::begin);
    file.Delete(50);
    grid->SetFile(&file, false);
    EXPECT_EQ(grid->GetCaret(), 50);
    EXPECT_EQ(grid->GetNibble(), 0);
}

TEST(HexGridKeys, AltWithCaretKeysDoesNothing) {
    CPieceFile64 file;
    Fill(file, Pattern(200));
    auto grid = MakeGrid(file, 16, 4);
    for (const bool hexPane : {true, false}) {
        grid->SetCaret(100, false);
        grid->SetAnchor(90);
        const Selection before = SelectionOf(*grid);
        const int nibble = grid->GetNibble();
        for (const Qt::KeyboardModifiers mods :
             {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::ShiftModifier,
              Qt::AltModifier | Qt::ControlModifier})
            for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                      Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End})
                QTest::keyClick(grid.get(), key, mods);
        EXPECT_EQ(grid->GetCaret(), 100) << hexPane;
        EXPECT_EQ(grid->GetNibble(), nibble) << hexPane;
        EXPECT_EQ(SelectionOf(*grid), before) << hexPane;
        QTest::keyClick(grid.get(), Qt::Key_Tab);
    }
}
