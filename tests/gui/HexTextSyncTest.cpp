// The two fields of the find and replace dialogs, typed into key by key: the
// hex field normalised as it is typed, the text field rebuilding the bytes.
#include "commands/CHexTextSync.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

struct Fields {
    QLineEdit text;
    QLineEdit hex;
    CHexTextSync sync;
    int beeps = 0;
    CHexTextSync::BeepHook previous;

    explicit Fields(int charSet = 0) : sync(text, hex, charSet) {
        previous = CHexTextSync::SetBeepHookForTests([this] { ++beeps; });
    }
    ~Fields() { CHexTextSync::SetBeepHookForTests(previous); }
};

// Types `text` character by character, as a keyboard would (keyClicks knows
// ASCII keys only).
void Type(QLineEdit& edit, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

} // namespace

TEST(HexTextSync, HexFieldIsNormalisedAsTyped) {
    struct Case {
        const char* typed;
        const char* hex;
        int caret;
        int beeps;
        const char* text;
    } const cases[] = {
        {"414", "41 4", 4, 0, "A"},     {"4a", "4A", 2, 0, "J"}, {"4g", "4", 1, 1, ""},
        {"4 ", "4", 1, 1, ""},     // a blank after a lone digit goes, with a beep
        {"41 ", "41 ", 3, 0, "A"}, // a blank where the separator belongs stays
        {"41x42", "41 42", 5, 1, "AB"}, {"09", "09", 2, 0, "."}, {"\xe9z", "", 0, 2, ""},
    };
    for (const Case& c : cases) {
        Fields f;
        Type(f.hex, QString::fromLatin1(c.typed));
        EXPECT_EQ(f.hex.text().toStdString(), c.hex) << c.typed;
        EXPECT_EQ(f.hex.cursorPosition(), c.caret) << c.typed;
        EXPECT_EQ(f.beeps, c.beeps) << c.typed;
        EXPECT_EQ(f.text.text().toStdString(), c.text) << c.typed;
        EXPECT_FALSE(f.hex.isModified());
        EXPECT_FALSE(f.text.isModified());
    }

    // Pasting goes through the same rule: one beep for each G.
    Fields f;
    QApplication::clipboard()->setText(QStringLiteral("1GG"));
    QTest::keyClick(&f.hex, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.hex.text(), QStringLiteral("1"));
    EXPECT_EQ(f.beeps, 2);

    // Typing in the middle keeps the caret after what was typed.
    f.sync.SetBytes("\x41\x42"s);
    f.hex.setCursorPosition(3);
    QTest::keyClicks(&f.hex, "x");
    EXPECT_EQ(f.hex.text(), QStringLiteral("41 42 "));
    EXPECT_EQ(f.hex.cursorPosition(), 3);
}

TEST(HexTextSync, TextFieldRebuildsTheBytes) {
    Fields f;
    f.sync.SetBytes("\x41\x09\x00\x42\x7F"s);
    EXPECT_EQ(f.hex.text(), QStringLiteral("41 09 00 42 7F "));
    EXPECT_EQ(f.text.text(), QStringLiteral("A.")); // the text ends at the 0x00
    f.text.setCursorPosition(2);
    QTest::keyClicks(&f.text, "C");
    // What showed as '.' is now the '.' byte; what followed the 0x00 is gone.
    EXPECT_EQ(f.hex.text(), QStringLiteral("41 2E 43 "));
    EXPECT_EQ(f.sync.GetBytes(), "A.C");

    // The characters of bytes 0x80-0xFF are those the grid shows and types;
    // a character no byte stands for leaves the field with a beep.
    f.text.clear();
    Type(f.text, QStringLiteral("\u20ac\u00e9\u03a9x"));
    EXPECT_EQ(f.sync.GetBytes(), "\x80\xE9x");
    EXPECT_EQ(f.text.text(), QStringLiteral("\u20ac\u00e9x"));
    EXPECT_EQ(f.text.cursorPosition(), 3);
    EXPECT_EQ(f.beeps, 1);
    // Shown back from the hex side they are dots, like every byte above 0x7F.
    QTest::keyClicks(&f.hex, "4");
    EXPECT_EQ(f.text.text(), QStringLiteral("..x"));

    // In EBCDIC the text stands for its EBCDIC codes.
    Fields ebcdic(1);
    QTest::keyClicks(&ebcdic.text, "Ab");
    EXPECT_EQ(ebcdic.hex.text(), QStringLiteral("C1 82 "));
    ebcdic.sync.SetBytes("\xC1\x4B\x00\x40"s);
    EXPECT_EQ(ebcdic.text.text(), QStringLiteral("A."));
}
