// Saving: in place, under a new name, and what a failure leaves behind.
#include "DocumentTestSupport.h"
#include "ProgressTestSupport.h"

#include "document/DocumentCommandIds.h"
#include "framework/CProgress.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"

#include <QProgressDialog>

#include <cerrno>
#include <new>

namespace {

bool Enabled(CWinApp& app, unsigned id) {
    CCmdUI ui(id);
    app.UpdateCmdUI(&ui);
    return ui.m_bEnabled;
}

// Overwrites the first byte through the document, as typing does.
void Edit(CQuexoDoc* doc, char byte) {
    doc->OverwriteBytes(0, &byte, 1);
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST_F(DocumentTest, FirstSaveOfNewDocumentMovesItOntoTheNewFile) {
    PromptScript prompts;
    DialogScript dialogs;
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_NEW));
    CQuexoDoc* doc = ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(Enabled(*m_app, ID_FILE_SAVE)) << "nothing to save yet";
    EXPECT_FALSE(Enabled(*m_app, ID_FILE_EDITASTEXT)) << "a new document has no file";
    doc->GetPieceFile()->Insert(4, 0);
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(Enabled(*m_app, ID_FILE_SAVE));

    const QString target = Path("first.bin");
    dialogs.ChooseFile(target);
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_SAVE));
    ASSERT_EQ(dialogs.FileRequests().size(), 1u);
    EXPECT_FALSE(dialogs.FileRequests()[0].m_bOpen);
    EXPECT_EQ(dialogs.FileRequests()[0].m_strTitle, "Savegarder sous...");
    EXPECT_EQ(dialogs.FileRequests()[0].m_strFileName, "Quexo") << "the title up to its space";

    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_EQ(Read(target), QByteArray(4, '\0'));
    EXPECT_EQ(doc->GetPathName(), target);
    EXPECT_EQ(doc->GetTitle(), "first.bin");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->m_bReadOnly);
    ASSERT_TRUE(doc->GetPieceFile()->HasFile());
    EXPECT_EQ(QFile::decodeName(doc->GetPieceFile()->GetSourcePath().c_str()), target);
    EXPECT_FALSE(Enabled(*m_app, ID_FILE_SAVE)) << "greyed again after the save";
    EXPECT_TRUE(Enabled(*m_app, ID_FILE_EDITASTEXT));
    EXPECT_EQ(m_app->GetRecentFileList()[0], target);
    EXPECT_EQ(m_pMain->windowTitle(), "Quexo Pro fr - first.bin");
    EXPECT_EQ(FilesIn(m_dir.path()), QStringList{"first.bin"}) << "no temporary file left";
}

TEST_F(DocumentTest, SaveAsIntoFolderRefusingNewFilesChangesNothing) {
    PromptScript prompts;
    DialogScript dialogs;
    CQuexoDoc* doc = Open(Write("source.bin", Binary()));
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'X');
    QDir(m_dir.path()).mkpath("ro");
    const QString existing = Write("ro/existing.bin", "there before");
    CPieceFile64* file = doc->GetPieceFile();

    FaultRules faults; // the folder refuses new files, as a read-only folder does
    faults.Fail(platform::FileOp::CreateTemp, Path("ro/"), EACCES)
        .Fail(platform::FileOp::Open, Path("ro/new.bin"), EACCES);
    dialogs.ChooseFile(existing).ChooseFile(Path("ro/new.bin"));
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);

    ASSERT_EQ(prompts.Count(), 2);
    EXPECT_EQ(prompts.Shown()[0].m_strText, "Acces to " + existing + " est impossible.");
    EXPECT_EQ(prompts.Shown()[0].m_nIcon, MB_ICONEXCLAMATION);
    EXPECT_EQ(prompts.Shown()[1].m_strText, "Acces to " + Path("ro/new.bin") + " est impossible.");
    EXPECT_EQ(doc->GetPathName(), Path("source.bin"));
    EXPECT_EQ(doc->GetTitle(), "source.bin");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPieceFile(), file);
    EXPECT_EQ(Read(existing), "there before");
    EXPECT_EQ(FilesIn(Path("ro")), QStringList{"existing.bin"});
}

TEST_F(DocumentTest, SaveAsFailingMidCopyKeepsExistingTarget) {
    PromptScript prompts;
    DialogScript dialogs;
    CQuexoDoc* doc = Open(Write("source.bin", Binary()));
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'X');
    const QString target = Write("target.bin", "precious");
    FaultRules faults;
    faults.Fail(platform::FileOp::Write, Path("qxo"), ENOSPC);
    dialogs.ChooseFile(target);
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(prompts.LastText(), "Le Disque est plein lors  de l'acces de " + target + ".");
    EXPECT_EQ(Read(target), "precious");
    EXPECT_EQ(FilesIn(m_dir.path()), (QStringList{"source.bin", "target.bin"}));
    EXPECT_EQ(doc->GetPathName(), Path("source.bin"));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentTest, SaveAsWhoseReopenGoesToTextEditorKeepsDocumentOnItsFile) {
    const QString record = InstallRecordingEditor();
    PromptScript prompts;
    DialogScript dialogs;
    m_app->m_nOpenTextMode = 1;
    CQuexoDoc* doc = Open(Write("notes.txt", Text()));
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'b');
    CPieceFile64* file = doc->GetPieceFile();

    m_app->m_nOpenTextMode = 2;
    prompts.Answer(IDYES);
    const QString target = Path("copy.txt");
    dialogs.ChooseFile(target);
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);

    EXPECT_EQ(WaitForRecord(record), target);
    EXPECT_EQ(Read(target), "bonjour,\r\nle monde.\r\n") << "the file just written stays";
    EXPECT_EQ(doc->GetPieceFile(), file) << "the document keeps a usable file object";
    EXPECT_EQ(doc->GetPathName(), Path("notes.txt"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(DocumentCount(), 1);
    char first = 0;
    doc->GetPieceFile()->Seek(0, CFile64::begin);
    EXPECT_EQ(doc->GetPieceFile()->Read(&first, 1), 1u);
    EXPECT_EQ(first, 'b');
    EXPECT_EQ(m_pMain->GetChildFrames().size(), 1) << "its window stays";
}

TEST_F(DocumentTest, SaveAsTextAnsweringNoKeepsDocumentOnNewFileInHex) {
    PromptScript prompts;
    DialogScript dialogs;
    m_app->m_nOpenTextMode = 1;
    CQuexoDoc* doc = Open(Write("notes.txt", Text()));
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'b');
    m_app->m_nOpenTextMode = 2;
    prompts.Answer(IDNO);
    const QString target = Path("copy.txt");
    dialogs.ChooseFile(target);
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(prompts.Count(), 1);
    EXPECT_EQ(doc->GetPathName(), target);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(QFile::decodeName(doc->GetPieceFile()->GetSourcePath().c_str()), target);
    EXPECT_EQ(Read(Path("notes.txt")), Text()) << "the old file keeps its old content";
}

TEST_F(DocumentTest, SaveAsUnderNameDifferingInCaseCopiesOnLinux) {
    PromptScript prompts;
    DialogScript dialogs;
    CQuexoDoc* doc = Open(Write("Data.bin", Binary()));
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'Z');
    dialogs.ChooseFile(Path("data.bin"));
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_EQ(doc->GetPathName(), Path("data.bin"));
    EXPECT_EQ(Read(Path("data.bin")).left(1), "Z");
    EXPECT_EQ(Read(Path("Data.bin")), Binary());
}

// Needs the commit of the piece file: skipped while Flush is not written yet.
TEST_F(DocumentTest, SaveInPlaceCommitsAndClearsModified) {
    PromptScript prompts;
    const QString path = Write("data.bin", Binary());
    CQuexoDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'Q');
    m_app->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_FALSE(doc->IsModified());
    QByteArray expected = Binary();
    expected[0] = 'Q';
    EXPECT_EQ(Read(path), expected);
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_FALSE(Enabled(*m_app, ID_FILE_SAVE));
}

TEST_F(DocumentTest, FailingSaveInPlaceReportsWithStopIconAndStaysModified) {
    PromptScript prompts;
    const QString path = Write("data.bin", Binary());
    CQuexoDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'Q');
    FaultRules faults; // whichever way the commit goes, the disk fails it
    for (const platform::FileOp op :
         {platform::FileOp::Write, platform::FileOp::Sync, platform::FileOp::CreateTemp,
          platform::FileOp::Replace, platform::FileOp::SetLength, platform::FileOp::Copy})
        faults.Fail(op, m_dir.path(), EIO);
    m_app->ExecuteCommand(ID_FILE_SAVE);
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.Shown()[0].m_nIcon, MB_ICONSTOP);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ActiveDocument(), doc);
    EXPECT_EQ(Read(path), Binary());
}

TEST_F(DocumentTest, ClosingModifiedDocumentAsksToSave) {
    PromptScript prompts;
    const QString path = Write("data.bin", Binary());
    CQuexoDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'Q');

    prompts.Answer(IDCANCEL);
    m_app->ExecuteCommand(ID_FILE_CLOSE);
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.Shown()[0].m_strText, "Savegarde changée pour data.bin?");
    EXPECT_EQ(prompts.Shown()[0].m_nButtons, MB_YESNOCANCEL);
    EXPECT_EQ(prompts.Shown()[0].m_nIcon, MB_ICONQUESTION);
    EXPECT_EQ(DocumentCount(), 1);

    // The window's own close button asks the same.
    prompts.Answer(IDCANCEL);
    m_pMain->GetChildFrames().front()->close();
    EXPECT_EQ(prompts.Count(), 2);
    EXPECT_EQ(DocumentCount(), 1);

    prompts.Answer(IDNO);
    m_app->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_EQ(DocumentCount(), 0);
    EXPECT_TRUE(m_pMain->GetChildFrames().isEmpty());
    EXPECT_EQ(Read(path), Binary());
    EXPECT_EQ(m_pMain->windowTitle(), "Quexo Pro fr");
}

TEST_F(DocumentTest, ClosingMainWindowAsksForEveryModifiedDocument) {
    PromptScript prompts;
    CQuexoDoc* first = Open(Write("a.bin", Binary()));
    CQuexoDoc* second = Open(Write("b.bin", Binary()));
    ASSERT_TRUE(first && second);
    Edit(first, '1');
    Edit(second, '2');
    prompts.Answer(IDNO).Answer(IDCANCEL);
    EXPECT_FALSE(m_pMain->close());
    EXPECT_EQ(prompts.Count(), 2);
    EXPECT_TRUE(m_pMain->isVisible());
    EXPECT_EQ(DocumentCount(), 2);
    prompts.Answer(IDNO).Answer(IDNO);
    EXPECT_TRUE(m_pMain->close());
    EXPECT_EQ(DocumentCount(), 0);
    EXPECT_EQ(Read(Path("a.bin")), Binary());
}

TEST_F(DocumentTest, SaveLoadReportNamesNamelessErrorsAndFallsBackToDefault) {
    PromptScript prompts;
    CQuexoDoc doc;
    const QString path = Path("doc.bin");
    const CFileException nameless(CFileException::hardIO);
    doc.ReportSaveLoadException(path, &nameless, true, AFX_IDP_FAILED_TO_SAVE_DOC);
    const std::bad_alloc noMemory;
    doc.ReportSaveLoadException(path, &noMemory, true, AFX_IDP_FAILED_TO_SAVE_DOC);
    const CFileException noCause;
    doc.ReportSaveLoadException(path, &noCause, false, AFX_IDP_FAILED_TO_OPEN_DOC);
    doc.ReportSaveLoadException(path, nullptr, true, AFX_IDP_INVALID_FILENAME);
    ASSERT_EQ(prompts.Count(), 4);
    EXPECT_EQ(prompts.Shown()[0].m_strText,
              "A hardware I/O error was reported while accessing " + path + ".");
    EXPECT_EQ(prompts.Shown()[1].m_strText, "Erreur de sauvegarde du document.");
    EXPECT_EQ(prompts.Shown()[2].m_strText, "Erreur d'ouverture du document.");
    EXPECT_EQ(prompts.Shown()[3].m_strText, "Nom de fichier invalide.");
    for (const PromptRequest& shown : prompts.Shown())
        EXPECT_EQ(shown.m_nIcon, MB_ICONEXCLAMATION);
}

TEST_F(DocumentTest, SaveAsWhoseReopenFailsKeepsDocumentAndWrittenFile) {
    PromptScript prompts;
    DialogScript dialogs;
    CQuexoDoc* doc = Open(Write("source.bin", Binary()));
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'R');
    CPieceFile64* file = doc->GetPieceFile();
    const QString target = Path("written.bin");
    FaultRules faults; // the copy's own open goes through, the re-open fails
    faults.Fail(platform::FileOp::Open, target, EACCES, /*skip*/ 1);
    dialogs.ChooseFile(target);
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(prompts.LastText(), "Acces to " + target + " est impossible.");
    EXPECT_EQ(Read(target).left(1), "R") << "the copy is complete and stays";
    EXPECT_EQ(doc->GetPieceFile(), file);
    EXPECT_EQ(doc->GetPathName(), Path("source.bin"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ActiveDocument(), doc);
}

TEST_F(DocumentTest, SaveAsOfFileShortenedUnderUsFailsAndKeepsTarget) {
    // The piece table reads what the shortened file still has; a copy that
    // stops there must not pass for the whole document.
    PromptScript prompts;
    DialogScript dialogs;
    const QString source = Write("source.bin", Binary() + QByteArray(100000, 'b'));
    CQuexoDoc* doc = Open(source);
    ASSERT_NE(doc, nullptr);
    doc->GetPieceFile()->Seek(0, CFile64::begin);
    doc->GetPieceFile()->Insert(1, 'I'); // the rest stays a range of the file
    doc->SetModifiedFlag(true);
    CPieceFile64* file = doc->GetPieceFile();
    ASSERT_TRUE(QFile::resize(source, 70000));
    const QString target = Write("target.bin", "precious");
    dialogs.ChooseFile(target);
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(prompts.Count(), 1);
    EXPECT_EQ(Read(target), "precious");
    EXPECT_EQ(FilesIn(m_dir.path()), (QStringList{"source.bin", "target.bin"}));
    EXPECT_EQ(doc->GetPieceFile(), file);
    EXPECT_EQ(doc->GetPathName(), source);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentTest, SaveThroughALinkPutInTheFilesPlaceIsRefusedAndSaveAsStillWorks) {
    PromptScript prompts;
    DialogScript dialogs;
    const QString path = Write("doc.bin", Binary());
    const QString victim = Write("profile", "keep me\n");
    CQuexoDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    Edit(doc, 'Q');
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::link(victim, path));
    m_app->ExecuteCommand(ID_FILE_SAVE);
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText(),
              path + " ne mène plus au fichier ouvert (il a été remplacé par un lien ou un autre "
                     "objet) : le document n'est pas enregistré. Utilisez « Enregistrer sous » "
                     "pour le garder.");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Read(victim), "keep me\n");

    dialogs.ChooseFile(Path("copy.bin"));
    m_app->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(prompts.Count(), 1);
    QByteArray expected = Binary();
    expected[0] = 'Q';
    EXPECT_EQ(Read(Path("copy.bin")), expected);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Read(victim), "keep me\n");
}

TEST_F(DocumentTest, CancellingALongSaveLeavesFilesAndEditsAsTheyWere) {
    PromptScript prompts;
    DialogScript dialogs;
    const QByteArray original(20 << 20, '\0');
    const QString path = Write("large.bin", original);
    CQuexoDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    // One more byte: the save rewrites the file through a temporary one.
    doc->GetPieceFile()->Seek(0, CFile64::begin);
    doc->GetPieceFile()->Insert(1, 'Z');
    doc->SetModifiedFlag(true);

    for (const CancelBy how : kEveryCancel) {
        SCOPED_TRACE(testing::Message() << how);
        {
            const CancelOnShow cancel(how);
            m_app->ExecuteCommand(ID_FILE_SAVE);
            EXPECT_TRUE(cancel.Sent());
        }
        EXPECT_EQ(Read(path), original);
        EXPECT_EQ(FilesIn(m_dir.path()), QStringList{"large.bin"}); // no temporary file left
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->GetPieceFile()->GetLength(), original.size() + 1);

        // Save as: the new file is not made, the document stays on its own.
        {
            const CancelOnShow cancel(how);
            dialogs.ChooseFile(Path("copy.bin"));
            m_app->ExecuteCommand(ID_FILE_SAVE_AS);
            EXPECT_TRUE(cancel.Sent());
        }
        EXPECT_EQ(FilesIn(m_dir.path()), QStringList{"large.bin"});
        EXPECT_EQ(doc->GetPathName(), path);
        EXPECT_TRUE(doc->IsModified());
    }

    // Not cancelled, the same saves go through.
    CProgress::SetObserverForTests(nullptr);
    m_app->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Read(path), "Z" + original);
    EXPECT_EQ(prompts.Count(), 0);
}
