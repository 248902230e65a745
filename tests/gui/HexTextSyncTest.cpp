// The two fields of the find and replace dialogs, typed into key by key: the
// hex field normalised as it is typed, the text field rebuilding the bytes.
#include "EditCommandsTestSupport.h"

#include "commands/CFindDlg.h"
#include "commands/CHexTextSync.h"
#include "commands/CReplaceDlg.h"
#include "commands/FindCommands.h"
#include "framework/DialogScript.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

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
    // Typed at the end of the text, before the 0x00; every other byte stays.
    EXPECT_EQ(f.hex.text(), QStringLiteral("41 09 43 00 42 7F "));

    // The characters of bytes 0x80-0xFF are those the grid shows and types;
    // a character no byte stands for leaves the field with a beep.
    f.text.clear();
    Type(f.text, QStringLiteral("\u20ac\u00e9\u03a9x"));
    EXPECT_EQ(f.sync.GetBytes(), "\x80\xE9x\x00\x42\x7F"s);
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

namespace {

// One edit of the text field, made with the keyboard from a caret position
// (and a selection of `selected` characters after it).
struct TextFieldEdit {
    const char* what;
    const char* hexBefore;
    int caret;
    int selected;
    std::function<void(QLineEdit&)> keys;
    const char* hexAfter;
    const char* textAfter;
};

const std::vector<TextFieldEdit>& TextFieldEdits() {
    const auto type = [](const char* text) {
        return [text](QLineEdit& edit) { Type(edit, QString::fromUtf8(text)); };
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [k, modifiers](QLineEdit& edit) { QTest::keyClick(&edit, k, modifiers); };
    };
    const auto paste = [](const char* text) {
        return [text](QLineEdit& edit) {
            QApplication::clipboard()->setText(QString::fromUtf8(text));
            QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        };
    };
    static const std::vector<TextFieldEdit> edits = {
        {"dots keep their bytes", "41 01 42 80", 4, 0, type("C"), "41 01 42 80 43 ", "A.B.C"},
        {"a dot typed beside a dot", "41 01 42", 1, 0, type("."), "41 2E 01 42 ", "A..B"},
        {"typed before the 00", "41 00 42 43", 1, 0, type("x"), "41 78 00 42 43 ", "Ax"},
        {"backspace over a dot", "41 01 42 80", 2, 0, key(Qt::Key_Backspace), "41 42 80 ", "AB."},
        {"delete a letter", "41 01 42 80", 0, 0, key(Qt::Key_Delete), "01 42 80 ", ".B."},
        {"selection overwritten", "41 01 42 80", 1, 2, type("x"), "41 78 80 ", "Ax."},
        {"everything shown replaced", "41 00 42 43", 0, 1, type("Z"), "5A 00 42 43 ", "Z"},
        {"pasted among dots", "41 01 42 80", 1, 0, paste("xy"), "41 78 79 01 42 80 ", "Axy.B."},
        {"refused character", "41 01", 2, 0, type("\u03a9"), "41 01 ", "A."},
        {"emptied", "41 01 00 42", 0, 2, key(Qt::Key_Delete), "00 42 ", ""},
    };
    return edits;
}

// Applies every edit to a text field whose hex field was typed first.
void CheckTextFieldEdits(QLineEdit& text, QLineEdit& hex, const char* dialog) {
    for (const TextFieldEdit& e : TextFieldEdits()) {
        hex.selectAll();
        QTest::keyClick(&hex, Qt::Key_Delete);
        QTest::keyClicks(&hex, QString::fromLatin1(e.hexBefore).remove(QLatin1Char(' ')));
        text.setCursorPosition(e.caret);
        if (e.selected > 0)
            text.setSelection(e.caret, e.selected);
        e.keys(text);
        EXPECT_EQ(hex.text().toStdString(), e.hexAfter) << dialog << ": " << e.what;
        EXPECT_EQ(text.text(), QString::fromUtf8(e.textAfter)) << dialog << ": " << e.what;
    }
}

} // namespace

TEST(HexTextSync, TextFieldEditsChangeOnlyTheirOwnBytes) {
    int beeps = 0;
    const auto previous = CHexTextSync::SetBeepHookForTests([&] { ++beeps; });
    {
        CFindDlg find(0);
        DialogScript dialogs;
        dialogs.Then([&](QDialog&) {
            CheckTextFieldEdits(*find.TextEdit(), *find.HexEdit(), "find");
            return int(QDialog::Rejected);
        });
        find.DoModal();
    }
    {
        auto doc = edittest::NewDoc({});
        DialogScript dialogs;
        dialogs.Then([&](QDialog& dialog) {
            auto* replace = qobject_cast<CReplaceDlg*>(&dialog);
            EXPECT_NE(replace, nullptr);
            if (replace) {
                CheckTextFieldEdits(*replace->FindTextEdit(), *replace->FindHexEdit(),
                                    "replace, find");
                CheckTextFieldEdits(*replace->ReplaceTextEdit(), *replace->ReplaceHexEdit(),
                                    "replace, replacement");
            }
            return int(QDialog::Rejected);
        });
        FindCommands::OnEditReplace(doc.Doc(), doc.View(), {});
    }
    EXPECT_EQ(beeps, 3); // the refused character, once in each field pair
    CHexTextSync::SetBeepHookForTests(previous);
}
