// The editing commands as a user reaches them: keys typed into the grid of a
// document window in the running frame, routed through the accelerators.
#include "FrameTestSupport.h"

#include "commands/CGoToDlg.h"
#include "commands/CInsertDlg.h"
#include "display/CHexGridWnd.h"
#include "framework/DialogScript.h"
#include "framework/StdCommandIds.h"

#include <QLineEdit>
#include <QStatusBar>

namespace {

QByteArray Content(CQuexoDoc* doc) {
    CPieceFile64* file = doc->GetPieceFile();
    QByteArray bytes(static_cast<int>(file->GetLength()), '\0');
    file->Seek(0, CFile64::begin);
    file->Read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

} // namespace

TEST_F(FrameTest, CopyPasteDeleteAndGoToByKeys) {
    Start();
    CQuexoDoc* doc = Open(QByteArray("\x10\x11\x12\x13\x14\x15", 6));
    ASSERT_NE(doc, nullptr);
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();

    // Select the first two bytes (Right steps one digit in the hex pane), copy
    // them, paste them over bytes 3 and 4.
    for (int digit = 0; digit < 4; ++digit)
        QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    Idle();
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    grid.SetCaret(3, true);
    grid.SetAnchor(3);
    Idle();
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Content(doc), QByteArray("\x10\x11\x12\x10\x11\x15", 6));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(grid.GetCaret(), 5);

    // Delete asks first; Cancel keeps the bytes, OK removes them.
    grid.SetAnchor(0);
    grid.SetCaret(2, true);
    Idle();
    {
        PromptScript prompts;
        prompts.Answer(IDCANCEL);
        QTest::keyClick(&grid, Qt::Key_Delete);
        ASSERT_EQ(prompts.Count(), 1);
        EXPECT_EQ(Content(doc).size(), 6);
    }
    {
        PromptScript prompts;
        prompts.Answer(IDOK);
        QTest::keyClick(&grid, Qt::Key_Delete);
        ASSERT_EQ(prompts.Count(), 1);
        EXPECT_EQ(Content(doc), QByteArray("\x12\x10\x11\x15", 4));
    }

    // Ctrl+G jumps to the offset typed in the dialog.
    Idle();
    DialogScript dialogs;
    dialogs.Then([](QDialog& dialog) {
        auto* goTo = qobject_cast<CGoToDlg*>(&dialog);
        EXPECT_NE(goTo, nullptr);
        if (!goTo)
            return int(QDialog::Rejected);
        goTo->OffsetEdit()->setText(QStringLiteral("3"));
        goTo->accept();
        return goTo->result();
    });
    QTest::keyClick(&grid, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Unexpected(), 0);
    EXPECT_EQ(grid.GetCaret(), 3);

    // Insert puts the bytes at the caret.
    dialogs.Then([](QDialog& dialog) {
        auto* insert = qobject_cast<CInsertDlg*>(&dialog);
        EXPECT_NE(insert, nullptr);
        if (!insert)
            return int(QDialog::Rejected);
        insert->CountEdit()->setText(QStringLiteral("2"));
        insert->ValueEdit()->setText(QStringLiteral("255"));
        insert->accept();
        return insert->result();
    });
    Idle();
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(dialogs.Unexpected(), 0);
    EXPECT_EQ(Content(doc), QByteArray("\x12\x10\x11\xFF\xFF\x15", 6));
}

TEST_F(FrameTest, TypedBytesReachTheDiskWithCtrlS) {
    Start();
    CQuexoDoc* doc = Open(QByteArray("\x00\x01\x02", 3));
    ASSERT_NE(doc, nullptr);
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();
    QTest::keyClicks(&grid, QStringLiteral("4a"));
    Idle();
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(Action(ID_FILE_SAVE)->isEnabled());

    PromptScript prompts;
    QTest::keyClick(&grid, Qt::Key_S, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(Action(ID_FILE_SAVE)->isEnabled());
    EXPECT_EQ(Read(Path(QStringLiteral("data.bin"))), QByteArray("\x4A\x01\x02", 3));
}

TEST_F(FrameTest, SavesThatLetOldStepsGoSaySoInTheStatusBar) {
    Start();
    CQuexoDoc* doc = Open(QByteArray(1000, 'a'));
    ASSERT_NE(doc, nullptr);
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();
    const QString note =
        QStringLiteral("Les modifications les plus anciennes ne peuvent plus être annulées.");
    // Each save rewrites (the length changed); the third replaced file would
    // pass twice the file's size, so the oldest step goes.
    for (int round = 0; round < 3; ++round) {
        doc->InsertBytes(0, 1, 'b');
        Idle();
        QTest::keyClick(&grid, Qt::Key_S, Qt::ControlModifier);
        Idle();
        EXPECT_EQ(m_pMain->statusBar()->currentMessage() == note, round == 2) << round;
        EXPECT_FALSE(doc->IsModified());
    }
    EXPECT_EQ(Read(Path(QStringLiteral("data.bin"))), QByteArray(3, 'b') + QByteArray(1000, 'a'));
    EXPECT_TRUE(doc->CanUndo());
}
