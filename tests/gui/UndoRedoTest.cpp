// Undo, redo and cut in the running frame: typing runs, the editing commands,
// the keys, the modified flag across saves, read-only documents.
#include "EditCommandsTestSupport.h"
#include "FrameTestSupport.h"

#include "commands/BinaryClipboard.h"
#include "commands/CInsertDlg.h"
#include "commands/EditCommands.h"
#include "framework/CCmdUI.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"
#include "framework/StdCommandIds.h"

#include <QLineEdit>

#include <functional>

namespace {

QByteArray Content(const CQuexoDoc* doc) {
    QByteArray bytes(static_cast<qsizetype>(doc->GetPieceFile()->GetLength()), '\0');
    doc->GetPieceFile()->ReadAt(0, bytes.data(), bytes.size());
    return bytes;
}

QByteArray OnDisk(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

struct Place {
    std::int64_t caret;
    std::int64_t anchor;
};

Place PlaceOf(const CHexGridWnd& grid) {
    return {grid.GetCaret(), grid.GetAnchor()};
}

bool operator==(Place a, Place b) {
    return a.caret == b.caret && a.anchor == b.anchor;
}

void PrintTo(Place place, std::ostream* out) {
    *out << "caret " << place.caret << " anchor " << place.anchor;
}

const QByteArray kSixteen = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");

} // namespace

TEST_F(FrameTest, TypingRunsAreStepsAndTheKeysUndoAndRedoThem) {
    Start();
    CQuexoDoc* doc = Open(QByteArray(8, '\0'));
    ASSERT_NE(doc, nullptr);
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());

    grid.SetCaret(2, true);
    grid.SetAnchor(2);
    QTest::keyClicks(&grid, QStringLiteral("abcd")); // bytes 2 and 3: one run
    // Away and back ends the run, even at the very next byte.
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClicks(&grid, QStringLiteral("ef"));
    Idle();
    EXPECT_EQ(Content(doc).toHex(), QByteArray("0000abcdef000000"));
    EXPECT_TRUE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());

    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(Content(doc).toHex(), QByteArray("0000abcd00000000"));
    EXPECT_EQ(PlaceOf(grid), (Place{4, 4}));
    EXPECT_TRUE(doc->IsModified());

    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(Content(doc), QByteArray(8, '\0'));
    EXPECT_EQ(PlaceOf(grid), (Place{2, 2}));
    EXPECT_FALSE(doc->IsModified()) << "back at the content on disk";
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_TRUE(Action(ID_EDIT_REDO)->isEnabled());

    QTest::keyClick(&grid, Qt::Key_Y, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(Content(doc).toHex(), QByteArray("0000abcd00000000"));
    EXPECT_EQ(PlaceOf(grid), (Place{4, 4})) << "where the run left the caret";
    EXPECT_TRUE(doc->IsModified());

    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Idle();
    EXPECT_EQ(Content(doc).toHex(), QByteArray("0000abcdef000000"));
    EXPECT_EQ(PlaceOf(grid), (Place{5, 5}));
    EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());

    // A new edit drops what could be redone.
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Home);
    QTest::keyClicks(&grid, QStringLiteral("1"));
    Idle();
    EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());
    EXPECT_EQ(Content(doc).toHex(), QByteArray("1000abcd00000000"));
}

TEST_F(FrameTest, EachEditCommandUndoesWithItsCaretAndSelection) {
    struct Case {
        const char* name;
        std::function<void(CQuexoDoc&, CQuexoView&)> run;
        QByteArray after;
    };
    PromptScript prompts;
    DialogScript dialogs;
    const Case cases[] = {
        {"paste",
         [](CQuexoDoc& doc, CQuexoView& view) {
             PutBytesOnClipboard(CByteString("\xAA\xBB", 2));
             EditCommands::OnEditPaste(doc, view);
         },
         QByteArray::fromHex("00010203040506aabb090a0b0c0d0e0f")},
        {"insert",
         [&](CQuexoDoc& doc, CQuexoView& view) {
             dialogs.Then([](QDialog& dialog) {
                 auto& insert = static_cast<CInsertDlg&>(dialog);
                 insert.CountEdit()->setText(QStringLiteral("2"));
                 insert.ValueEdit()->setText(QStringLiteral("17"));
                 insert.accept();
                 return insert.result();
             });
             EditCommands::OnEditInsert(doc, view);
         },
         QByteArray::fromHex("0001020304050611110708090a0b0c0d0e0f")},
        {"delete",
         [&](CQuexoDoc& doc, CQuexoView& view) {
             prompts.Answer(IDOK);
             EditCommands::OnEditDelete(doc, view);
         },
         QByteArray::fromHex("000102070809 0a0b0c0d0e0f")},
        {"cut", [](CQuexoDoc& doc, CQuexoView& view) { EditCommands::OnEditCut(doc, view); },
         QByteArray::fromHex("000102070809 0a0b0c0d0e0f")},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQuexoDoc* doc = Open(kSixteen, QString::fromLatin1(c.name) + QStringLiteral(".bin"));
        ASSERT_NE(doc, nullptr);
        CHexGridWnd& grid = ActiveView()->GetGrid();
        grid.SetCaret(7, true);
        grid.SetAnchor(3);
        c.run(*doc, *ActiveView());
        EXPECT_EQ(Content(doc).toHex(), c.after.toHex());
        const Place done = PlaceOf(grid);
        EXPECT_TRUE(doc->IsModified());

        m_app->ExecuteCommand(ID_EDIT_UNDO);
        EXPECT_EQ(Content(doc).toHex(), kSixteen.toHex());
        EXPECT_EQ(PlaceOf(grid), (Place{7, 3}));
        EXPECT_FALSE(doc->IsModified());

        grid.SetCaret(0, true); // redo puts the caret where the command left it
        m_app->ExecuteCommand(ID_EDIT_REDO);
        EXPECT_EQ(Content(doc).toHex(), c.after.toHex());
        EXPECT_EQ(PlaceOf(grid), done);
        EXPECT_EQ(grid.GetLength(), c.after.size()) << "the view follows the length";
        doc->SetModifiedFlag(false);
        doc->OnCloseDocument();
        Idle();
    }
    EXPECT_EQ(BytesFromClipboard(), CByteString("\x03\x04\x05\x06", 4)) << "cut copied first";
    EXPECT_EQ(dialogs.Unexpected(), 0);
    EXPECT_EQ(prompts.PendingAnswers(), 0);
}

TEST_F(FrameTest, UndoAcrossSavesGivesTheRightBytesAndFlag) {
    Start();
    CQuexoDoc* doc = Open(kSixteen);
    ASSERT_NE(doc, nullptr);
    const QString path = doc->GetPathName();
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();

    // In place: same length.
    QTest::keyClicks(&grid, QStringLiteral("ff"));
    m_app->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    QTest::keyClick(&grid, Qt::Key_End);
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClicks(&grid, QStringLiteral("ee"));
    EXPECT_TRUE(doc->IsModified());
    m_app->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(doc->IsModified()) << "back at the saved content";
    m_app->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Content(doc).toHex(), kSixteen.toHex()) << "the bytes the save overwrote";
    EXPECT_TRUE(doc->IsModified());
    m_app->ExecuteCommand(ID_EDIT_REDO);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Content(doc).toHex(), QByteArray("ff0102030405060708090a0b0c0d0e0f"));

    // A rewrite: the length changes.
    grid.SetCaret(4, true);
    grid.SetAnchor(2);
    EditCommands::OnEditCut(*doc, *ActiveView());
    m_app->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(OnDisk(path).toHex(), QByteArray("ff01040506 0708090a0b0c0d0e0f").replace(" ", ""));
    m_app->ExecuteCommand(ID_EDIT_UNDO);
    m_app->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Content(doc).toHex(), kSixteen.toHex());
    m_app->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(OnDisk(path), kSixteen);
    EXPECT_FALSE(doc->IsModified());
    m_app->ExecuteCommand(ID_EDIT_REDO);
    m_app->ExecuteCommand(ID_EDIT_REDO);
    EXPECT_EQ(Content(doc).toHex(), QByteArray("ff01040506 0708090a0b0c0d0e0f").replace(" ", ""));
    doc->SetModifiedFlag(false);
}

TEST(UndoRedo, ReadOnlyDocumentRefusesCutUndoAndRedo) {
    PromptScript prompts;
    QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/ro.bin")).toStdString();
    {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kSixteen);
    }
    auto edit = edittest::OpenDoc(path, 0x20);
    edit.Select(2, 6);
    PutBytesOnClipboard(CByteString("keep"));
    CCmdUI cut(ID_EDIT_CUT);
    EditCommands::OnUpdateEditCut(edit.Doc(), edit.View(), &cut);
    EXPECT_FALSE(cut.m_bEnabled);
    EditCommands::OnEditCut(edit.Doc(), edit.View());
    EXPECT_EQ(edit.File().GetLength(), 16);
    EXPECT_EQ(BytesFromClipboard(), CByteString("keep"));
    EXPECT_FALSE(edit.Doc().CanUndo());
    EXPECT_FALSE(edit.Doc().CanRedo());
    EXPECT_EQ(prompts.Count(), 0);
}

TEST_F(FrameTest, AnEditStepUndoesManyEditsAndAFlushAtOnce) {
    Start();
    CQuexoDoc* doc = Open(kSixteen);
    ASSERT_NE(doc, nullptr);
    const QString path = doc->GetPathName();
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.SetCaret(9, true);
    grid.SetAnchor(1);
    {
        // What a replace-all does, flushing its pieces to disk half-way.
        CEditStep outer(*doc, ActiveView()->GetPlace());
        doc->ReplaceBytes({1, 2}, "xyz", 3);
        {
            CEditStep inner(*doc, CEditPlace{0, 0}); // nested: its place does not count
            doc->DeleteBytes({10, 3});
        }
        doc->GetPieceFile()->Flush();
        EXPECT_TRUE(doc->IsModified()) << "an open step counts as a change";
        doc->OverwriteBytes(0, "A", 1);
        EXPECT_FALSE(doc->CanUndo()) << "not while the step is open";
    }
    const QByteArray edited = Content(doc);
    EXPECT_EQ(edited, QByteArray::fromHex("41") + "xyz" +
                          QByteArray::fromHex("030405060708"
                                              "0c0d0e0f"));
    EXPECT_TRUE(doc->IsModified());
    grid.SetCaret(0, true);
    grid.SetAnchor(0);

    m_app->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Content(doc), kSixteen);
    EXPECT_EQ(PlaceOf(grid), (Place{9, 1}));
    EXPECT_FALSE(doc->CanUndo()) << "one step";
    EXPECT_TRUE(doc->IsModified()) << "the disk holds the half-way content";

    m_app->ExecuteCommand(ID_EDIT_REDO);
    EXPECT_EQ(Content(doc), edited);
    m_app->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(OnDisk(path), edited);
    EXPECT_FALSE(doc->IsModified());
}
