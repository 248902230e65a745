// Go to: the dialog's fields, the offset forms it reads, the three origins,
// clamping and the refusal of what is not a number.
#include "EditCommandsTestSupport.h"

#include "commands/CGoToDlg.h"
#include "commands/EditCommands.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using edittest::NewDoc;

namespace {

// A dialog step that types `offset`, picks `origin` and presses OK; it
// records the caret box text it was shown.
DialogRunner::ModalHandler GoTo(const QString& offset, int origin, QString* caretBox = nullptr) {
    return [offset, origin, caretBox](QDialog& dialog) {
        auto* goTo = qobject_cast<CGoToDlg*>(&dialog);
        EXPECT_NE(goTo, nullptr);
        if (!goTo)
            return int(QDialog::Rejected);
        // Each opening starts from offset 0, counted from the start.
        EXPECT_EQ(goTo->OffsetEdit()->text().toStdString(), "0");
        EXPECT_TRUE(goTo->OriginButton(0)->isChecked());
        if (caretBox)
            *caretBox = goTo->CaretEdit()->toPlainText();
        goTo->OffsetEdit()->setText(offset);
        goTo->OriginButton(origin)->setChecked(true);
        goTo->accept();
        return goTo->result();
    };
}

} // namespace

TEST(GoToCommand, OffsetFormsAndOrigins) {
    PromptScript prompts;
    DialogScript dialogs;
    auto doc = NewDoc(gridtest::Pattern(100));
    struct Case {
        const char* offset;
        int origin;
        std::int64_t caret; // before
        std::int64_t expected;
    } const cases[] = {
        {"0x1F", 0, 50, 31}, {"31", 0, 50, 31},    {"037", 0, 50, 31}, {" +31", 0, 50, 31},
        {"0X1f", 0, 50, 31}, {"12abc", 0, 50, 12}, {"08", 0, 50, 0},   {"500", 0, 50, 100},
        {"-5", 0, 50, 0},    {"10", 2, 50, 60},    {"-10", 2, 50, 40}, {"-10", 2, 5, 0},
        {"-1", 1, 50, 99},   {"0", 1, 50, 100},    {"-0x64", 1, 7, 0}, {"-200", 1, 7, 0},
    };
    for (const Case& c : cases) {
        doc.Select(c.caret + 3 > 100 ? 0 : c.caret + 3, c.caret); // some selection
        dialogs.Then(GoTo(QString::fromLatin1(c.offset), c.origin));
        EditCommands::OnEditGoto(doc.View());
        EXPECT_EQ(doc.Grid().GetCaret(), c.expected) << c.offset << " origin " << c.origin;
        EXPECT_EQ(doc.Grid().GetAnchor(), c.expected) << c.offset << " origin " << c.origin;
    }
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST(GoToCommand, WhatIsNotANumberIsRefused) {
    PromptScript prompts;
    DialogScript dialogs;
    auto doc = NewDoc(gridtest::Pattern(100));
    const char* refused[] = {"",
                             "  ",
                             "abc",
                             "0x",
                             "-",
                             "0xg",
                             "18446744073709551617",
                             "99999999999999999999",
                             "0x10000000000000000"};
    for (const char* offset : refused) {
        doc.Select(20, 25);
        dialogs.Then(GoTo(QString::fromLatin1(offset), 0));
        EditCommands::OnEditGoto(doc.View());
        EXPECT_EQ(prompts.LastText().toStdString(),
                  "Entrer offset soit en decimal ou hexadecimal (precedé par 0x) numbres.")
            << offset;
        EXPECT_EQ(doc.Grid().GetCaret(), 25) << offset;
        EXPECT_EQ(doc.Grid().GetAnchor(), 20) << offset;
    }
    EXPECT_EQ(prompts.Count(), int(std::size(refused)));
    EXPECT_EQ(prompts.Shown().front().m_nButtons, MB_OK);
    EXPECT_EQ(dialogs.Unexpected(), 0); // the dialog is not shown again

    // Cancel moves nothing.
    dialogs.Then([](QDialog&) { return int(QDialog::Rejected); });
    EditCommands::OnEditGoto(doc.View());
    EXPECT_EQ(doc.Grid().GetCaret(), 25);
    EXPECT_EQ(doc.Grid().GetAnchor(), 20);
}

TEST(GoToCommand, DialogShowsTheCaret) {
    DialogScript dialogs;
    auto doc = NewDoc(gridtest::Pattern(5000));
    doc.Select(4660, 4660);
    QString caretBox;
    dialogs.Then([&](QDialog& dialog) {
        auto& goTo = static_cast<CGoToDlg&>(dialog);
        EXPECT_EQ(goTo.windowTitle().toStdString(), "Aller à");
        EXPECT_EQ(goTo.OriginButton(0)->text().toStdString(), "&Début");
        EXPECT_EQ(goTo.OriginButton(1)->text().toStdString(), "&Fin");
        EXPECT_EQ(goTo.OriginButton(2)->text().toStdString(), "&Curseur");
        EXPECT_TRUE(goTo.CaretEdit()->isReadOnly());
        caretBox = goTo.CaretEdit()->toPlainText();
        return int(QDialog::Rejected);
    });
    EditCommands::OnEditGoto(doc.View());
    EXPECT_EQ(caretBox.toStdString(), "0x1234\n4660");

    // The target is scrolled into view.
    dialogs.Then(GoTo(QStringLiteral("-1"), 1, &caretBox));
    EditCommands::OnEditGoto(doc.View());
    EXPECT_EQ(caretBox.toStdString(), "0x1234\n4660");
    EXPECT_EQ(doc.Grid().GetCaret(), 4999);
    EXPECT_TRUE(doc.Grid().IsOffsetVisible(4999));
}
