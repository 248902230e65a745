// Another program changing an open file: a second handle writes, renames over,
// cuts or removes it while the document is open; the watcher notices, the
// user is asked once, and each answer leaves the bytes on disk it should.
#include "FrameTestSupport.h"

#include "document/DocumentCommandIds.h"
#include "framework/DialogScript.h"
#include "platform/FaultInjection.h"

#include <QDeadlineTimer>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Waits (running the event loop, so the watcher can speak) until `count`
// prompts were shown or five seconds passed.
bool WaitForPrompts(const PromptScript& prompts, int count) {
    QDeadlineTimer deadline(5000);
    while (prompts.Count() < count && !deadline.hasExpired())
        QTest::qWait(20);
    return prompts.Count() >= count;
}

// Timestamps may be coarser than a test is quick: date an outside write
// later, as a real one some time after the open would be.
void DateLater(const QString& path) {
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    timespec times[2] = {{0, UTIME_OMIT}, {st.st_mtim.tv_sec + 5, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Another program's handle on the file, writing in place.
void WriteInPlace(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile other(path);
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    ASSERT_TRUE(other.seek(offset));
    ASSERT_EQ(other.write(bytes), bytes.size());
    other.close();
    DateLater(path);
}

// Another program saving safely: a new file renamed over the name.
void RenameOver(const QString& path, const QByteArray& bytes) {
    const QString fresh = path + QStringLiteral(".new");
    ASSERT_TRUE(testfiles::WriteAll(fresh, bytes));
    ASSERT_EQ(
        std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()), 0);
}

QByteArray Content(CQuexoDoc* doc) {
    QByteArray bytes(int(doc->GetPieceFile()->GetLength()), '\0');
    bytes.resize(int(doc->GetPieceFile()->ReadAt(0, bytes.data(), bytes.size())));
    return bytes;
}

// Counts reads of files whose name holds `part`.
class ReadCounter : public platform::FaultInjector {
public:
    explicit ReadCounter(std::string part) : m_part(std::move(part)) {
        platform::SetFaultInjector(this);
    }
    ~ReadCounter() override { platform::SetFaultInjector(nullptr); }
    int Before(platform::FileOp op, const std::string& name, std::int64_t*) override {
        if (op == platform::FileOp::Read && name.find(m_part) != std::string::npos)
            ++m_nReads;
        return 0;
    }
    int m_nReads = 0;

private:
    std::string m_part;
};

class OutsideChangeTest : public FrameTest {
protected:
    CQuexoDoc* OpenWatched(const QByteArray& bytes) {
        Start();
        CQuexoDoc* doc = Open(bytes, QStringLiteral("watched.bin"));
        EXPECT_NE(doc, nullptr);
        return doc;
    }
    // A command as its menu entry gives it.
    void Run(unsigned id) {
        EXPECT_TRUE(m_app->ExecuteCommand(id));
        Idle();
    }
    // A byte typed at the start, through the document's edit path.
    static void Type(CQuexoDoc* doc, char byte) { doc->OverwriteBytes(0, &byte, 1); }
    QString File() { return Path(QStringLiteral("watched.bin")); }
};

} // namespace

TEST_F(OutsideChangeTest, InPlaceChangeIsToldOnceAndF5Reloads) {
    CQuexoDoc* doc = OpenWatched(QByteArray(16, 'a'));
    PromptScript prompts;
    prompts.Answer(IDCANCEL);
    WriteInPlace(File(), 4, "XYZ");
    ASSERT_TRUE(WaitForPrompts(prompts, 1));
    EXPECT_TRUE(prompts.LastText().contains("montre maintenant les octets de l'autre programme"));
    EXPECT_TRUE(prompts.LastText().contains(File()));

    doc->CheckOutsideChange(); // as on coming back to the window: nothing new
    QTest::qWait(300);
    EXPECT_EQ(prompts.Count(), 1) << "one change, one question";

    EXPECT_EQ(Action(ID_FILE_RELOAD)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(Action(ID_FILE_RELOAD)->isEnabled());
    Run(ID_FILE_RELOAD); // unmodified: no question
    EXPECT_EQ(prompts.Count(), 1);
    EXPECT_EQ(Content(doc), Read(File()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetOutsideChange(), FileChange::None);
}

TEST_F(OutsideChangeTest, UnmodifiedAnswerYesReloads) {
    CQuexoDoc* doc = OpenWatched(QByteArray(16, 'a'));
    PromptScript prompts;
    prompts.Answer(IDYES);
    RenameOver(File(), QByteArray(8, 'b'));
    ASSERT_TRUE(WaitForPrompts(prompts, 1));
    EXPECT_TRUE(prompts.LastText().contains("nouvelle version"));
    EXPECT_EQ(Content(doc), QByteArray(8, 'b'));
    EXPECT_EQ(ActiveView()->GetGrid().GetCaret(), 0);
}

TEST_F(OutsideChangeTest, GrownLogIsToldAndReloadShowsTheNewEnd) {
    CQuexoDoc* doc = OpenWatched(QByteArray("line 1\n"));
    PromptScript prompts;
    prompts.Answer(IDYES);
    {
        QFile log(File());
        ASSERT_TRUE(log.open(QIODevice::Append));
        log.write("line 2\n");
    }
    ASSERT_TRUE(WaitForPrompts(prompts, 1));
    EXPECT_TRUE(prompts.LastText().contains("a grandi"));
    EXPECT_EQ(Content(doc), "line 1\nline 2\n");
}

TEST_F(OutsideChangeTest, RenamedOverWithEditsKeepsThemAndSaveAsksFirst) {
    CQuexoDoc* doc = OpenWatched(QByteArray(16, 'a'));
    Type(doc, 'U');
    PromptScript prompts;
    prompts.Answer(IDCANCEL); // keep editing
    RenameOver(File(), QByteArray(8, 'b'));
    ASSERT_TRUE(WaitForPrompts(prompts, 1));
    EXPECT_TRUE(prompts.LastText().contains("vos modifications ne sont pas enregistrées"));
    EXPECT_TRUE(prompts.LastText().contains("toujours la version que vous avez ouverte"));
    const QByteArray mine = "U" + QByteArray(15, 'a');
    EXPECT_EQ(Content(doc), mine) << "the opened version still shows, with the edit";

    prompts.Answer(IDNO);
    Run(ID_FILE_SAVE);
    ASSERT_EQ(prompts.Count(), 2);
    EXPECT_TRUE(prompts.LastText().contains("remplacera la version de l'autre programme"));
    EXPECT_EQ(Read(File()), QByteArray(8, 'b')) << "declined: the other version stays";
    EXPECT_TRUE(doc->IsModified());

    prompts.Answer(IDYES);
    Run(ID_FILE_SAVE);
    EXPECT_EQ(prompts.Count(), 3);
    EXPECT_EQ(Read(File()), mine);
    EXPECT_FALSE(doc->IsModified());
    QTest::qWait(500);
    EXPECT_EQ(prompts.Count(), 3) << "our own save is not another program's";
    EXPECT_EQ(prompts.Unexpected(), 0);
}

TEST_F(OutsideChangeTest, ModifiedReloadDropsEditsOnlyAfterConfirmation) {
    CQuexoDoc* doc = OpenWatched(QByteArray(16, 'a'));
    Type(doc, 'U');
    PromptScript prompts;
    prompts.Answer(IDYES).Answer(IDNO); // reload, then "no, keep my edits"
    WriteInPlace(File(), 8, "ZZ");
    ASSERT_TRUE(WaitForPrompts(prompts, 2));
    EXPECT_TRUE(prompts.Shown()[0].m_strText.contains("montrent maintenant ceux de l'autre"));
    EXPECT_TRUE(prompts.LastText().contains("Vos modifications seront perdues"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Content(doc).left(1), "U");

    prompts.Answer(IDYES);
    Run(ID_FILE_RELOAD);
    EXPECT_EQ(prompts.Count(), 3) << "F5 with edits asks";
    EXPECT_EQ(Content(doc), Read(File()));
    EXPECT_EQ(Read(File()), QByteArray(8, 'a') + "ZZ" + QByteArray(6, 'a'));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->CanUndo()) << "a reload starts a new history";
}

TEST_F(OutsideChangeTest, ShortenedFileIsNamedForReadsAndSaves) {
    // Larger than what an edit copies to memory, so the end stays in the file.
    CQuexoDoc* doc = OpenWatched(QByteArray(4 << 20, 'a'));
    Type(doc, 'U');
    PromptScript prompts;
    prompts.Answer(IDNO);
    ASSERT_EQ(::truncate(QFile::encodeName(File()).constData(), 100), 0);
    ASSERT_TRUE(WaitForPrompts(prompts, 1));
    EXPECT_TRUE(prompts.LastText().contains("raccourci"));
    EXPECT_TRUE(prompts.LastText().contains("100 octets"));

    // An edit that needs the lost bytes says why it fails.
    try {
        Type(doc, 'V');
        doc->OverwriteBytes(3 << 20, "W", 1);
        ADD_FAILURE() << "an edit past the new end cannot read the bytes around it";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileShortened);
        EXPECT_NE(e.GetErrorMessage().find("raccourci"), std::string::npos);
    }

    prompts.Answer(IDYES); // replace the other version: the save cannot read it all
    Run(ID_FILE_SAVE);
    EXPECT_EQ(Read(File()), QByteArray(100, 'a')) << "the file on disk is kept";
    ASSERT_EQ(prompts.Count(), 3);
    EXPECT_TRUE(prompts.LastText().contains("raccourci")) << prompts.LastText().toStdString();
    EXPECT_TRUE(prompts.LastText().contains("n'est pas enregistré"));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(OutsideChangeTest, RemovedFileStillShowsAndSaveBringsItBack) {
    CQuexoDoc* doc = OpenWatched(QByteArray(16, 'a'));
    Type(doc, 'U');
    PromptScript prompts;
    ASSERT_TRUE(QFile::remove(File()));
    ASSERT_TRUE(WaitForPrompts(prompts, 1));
    EXPECT_TRUE(prompts.LastText().contains("supprimé ou renommé"));
    EXPECT_EQ(Content(doc), "U" + QByteArray(15, 'a'));

    prompts.Answer(IDYES);
    Run(ID_FILE_SAVE);
    EXPECT_EQ(Read(File()), "U" + QByteArray(15, 'a'));
    EXPECT_EQ(prompts.Unexpected(), 0);
}

TEST_F(OutsideChangeTest, ReloadKeepsCaretSelectionAndTopRowInEveryView) {
    CQuexoDoc* doc = OpenWatched(QByteArray(64 * 1024, 'a'));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_WINDOW_NEW));
    Idle();
    std::vector<CQuexoView*> views;
    for (CView* view : doc->GetViews())
        views.push_back(static_cast<CQuexoView*>(view));
    ASSERT_EQ(views.size(), 2u);
    views[0]->GetGrid().SetCaret(40000, true);
    views[0]->GetGrid().SetAnchor(40010);
    views[1]->GetGrid().SetCaret(60000, true);
    const std::int64_t top = views[0]->GetGrid().GetTop();
    ASSERT_GT(top, 0);

    PromptScript prompts;
    prompts.Answer(IDYES);
    RenameOver(File(), QByteArray(50000, 'b'));
    ASSERT_TRUE(WaitForPrompts(prompts, 1));
    EXPECT_EQ(Content(doc).size(), 50000);
    EXPECT_EQ(views[0]->GetGrid().GetCaret(), 40000);
    EXPECT_EQ(views[0]->GetGrid().GetAnchor(), 40010);
    EXPECT_EQ(views[0]->GetGrid().GetTop(), top);
    EXPECT_EQ(views[1]->GetGrid().GetCaret(), 50000) << "past the new end: at the end";
}

TEST_F(OutsideChangeTest, WatchingReadsNothingWhileIdle) {
    CQuexoDoc* doc = OpenWatched(QByteArray(4096, 'a'));
    ASSERT_NE(doc, nullptr);
    PromptScript prompts;
    // Hidden, so no paint (the caret's blinking) reads for its own reasons.
    m_pMain->hide();
    Idle();
    ReadCounter reads("watched.bin");
    // Other files in the folder come and go; the file itself stays.
    for (int i = 0; i < 20; ++i) {
        Write(QStringLiteral("neighbour.bin"), QByteArray(i + 1, 'n'));
        QTest::qWait(100);
    }
    // Permissions are not content: noticed, looked at, nothing to say.
    QFile::setPermissions(File(), QFile::ReadOwner | QFile::WriteOwner);
    QTest::qWait(500);
    EXPECT_EQ(reads.m_nReads, 0);
    EXPECT_EQ(prompts.Count(), 0);
}
