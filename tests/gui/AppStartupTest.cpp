// Start-up and exit of the application object: what each command line does,
// which window shows, and what is written to the settings and the desktop.
#include "AppTestSupport.h"

#include "document/CQuexoDoc.h"
#include "frames/CMainFrame.h"
#include "framework/CDocTemplate.h"
#include "framework/CMDIChildWnd.h"
#include "framework/PromptScript.h"

#include <QDropEvent>
#include <QMimeData>

namespace {

QString ActivePath(CQuexoApp& app) {
    CDocument* document = app.GetMainWnd() ? app.GetMainWnd()->GetActiveDocument() : nullptr;
    return document ? document->GetPathName() : QString();
}

} // namespace

TEST_F(AppTest, NoArgumentShowsTheEmptyMainWindowAndRegisters) {
    PromptScript prompts;
    ASSERT_TRUE(Start({}));
    CMainFrame* frame = m_app->GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0) << "no untitled document";
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
    EXPECT_EQ(frame->windowTitle(), "Quexo Pro fr");
    EXPECT_TRUE(frame->acceptDrops());
    EXPECT_EQ(RecordedProgram(OpenWithEntry()), Program()) << "first start registers";
    EXPECT_EQ(RecordedProgram(TerminalEntry()), Program());
    EXPECT_EQ(prompts.Count(), 0);
}

// The child frame is maximized by CChildFrame; the title follows the document.
TEST_F(AppTest, FileArgumentOpensItMaximizedUnderTheTitle) {
    PromptScript prompts;
    const QString path = Write("data.bin", Binary());
    ASSERT_TRUE(Start({path}));
    ASSERT_EQ(m_app->GetOpenDocumentCount(), 1);
    EXPECT_EQ(ActivePath(*m_app), path);
    CMDIChildWnd* child = m_app->GetMainFrame()->MDIGetActive();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->isMaximized());
    EXPECT_TRUE(m_app->GetMainFrame()->isVisible());
    // A maximized document window shows its name in brackets.
    EXPECT_EQ(m_app->GetMainFrame()->windowTitle(), "Quexo Pro fr - [data.bin]");
    EXPECT_EQ(m_app->GetRecentFileList()[0], path);
    EXPECT_EQ(prompts.Count(), 0);
}

TEST_F(AppTest, FileThatCannotBeOpenedEndsWithoutWindow) {
    PromptScript prompts;
    EXPECT_FALSE(Start({Path("missing.bin")}));
    EXPECT_EQ(prompts.Count(), 1) << "the document reports the failure";
    EXPECT_TRUE(prompts.LastText().contains("missing.bin")) << prompts.LastText().toStdString();
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0);
    EXPECT_FALSE(AnyWindowVisible());
}

TEST_F(AppTest, TextFileInTextModeGoesToTheEditorAndEnds) {
    PromptScript prompts;
    const QString record = InstallRecordingEditor();
    const QString path = Write("notes.txt", Text());
    m_app = std::make_unique<TestQuexoApp>(QStringList{path}, Program());
    m_app->m_nOpenTextMode = 0; // nothing stored: the loaded mode keeps this one
    EXPECT_FALSE(m_app->InitInstance());
    EXPECT_EQ(WaitForRecord(record), path);
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0);
    EXPECT_FALSE(AnyWindowVisible()) << "the window is never shown";
}

TEST_F(AppTest, UninstallRemovesTheEntriesAndWritesNoSetting) {
    // A normal run registers and stores its settings.
    const QString path = Write("data.bin", Binary());
    ASSERT_TRUE(Start({path}));
    m_app->ExitInstance();
    m_app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir().mkpath(MakerFolder());
    Write("marker", "x");
    QFile::copy(Path("marker"), MakerFolder() + "/marker");
    const QByteArray stored = Read(SettingsFile());
    ASSERT_FALSE(stored.isEmpty());
    ASSERT_TRUE(QFile::exists(OpenWithEntry()));

    PromptScript prompts;
    EXPECT_FALSE(Start({QStringLiteral("/UnInstall")}));
    EXPECT_EQ(m_app->GetMainWnd(), nullptr);
    EXPECT_FALSE(QFile::exists(OpenWithEntry()));
    EXPECT_FALSE(QFile::exists(TerminalEntry()));
    // Nothing of ours is ever written in the maker's folder: what is there
    // is someone else's, and stays (an empty folder goes).
    EXPECT_TRUE(QFile::exists(MakerFolder() + "/marker"));
    // Changes in memory that a normal exit would store.
    m_app->AddToRecentFileList(Write("other.bin", Binary()));
    m_app->m_nOpenTextMode = 1;
    EXPECT_EQ(m_app->ExitInstance(), 0);
    EXPECT_EQ(Read(SettingsFile()), stored) << "the settings profile stays as it was";
    EXPECT_EQ(prompts.Count(), 0);
}

TEST_F(AppTest, InstallWritesTheEntriesEvenWhenCurrentAndEnds) {
    ASSERT_TRUE(Start({}));
    m_app->ExitInstance();
    ASSERT_TRUE(QFile::remove(TerminalEntry()));

    // A normal start leaves a current registration alone.
    ASSERT_TRUE(Start({}));
    m_app->ExitInstance();
    EXPECT_FALSE(QFile::exists(TerminalEntry()));

    PromptScript prompts;
    EXPECT_FALSE(Start({QStringLiteral("/INSTALL")}));
    EXPECT_EQ(m_app->GetMainWnd(), nullptr);
    EXPECT_FALSE(AnyWindowVisible());
    EXPECT_EQ(RecordedProgram(OpenWithEntry()), Program());
    EXPECT_EQ(RecordedProgram(TerminalEntry()), Program());
    EXPECT_EQ(prompts.Count(), 0);
}

TEST_F(AppTest, RegistrationWordWithASecondArgumentIsANormalStart) {
    ASSERT_TRUE(Start({}));
    m_app->ExitInstance();
    ASSERT_TRUE(QFile::remove(TerminalEntry()));

    PromptScript prompts;
    const QString path = Write("data.bin", Binary());
    ASSERT_TRUE(Start({QStringLiteral("/INSTALL"), path}));
    EXPECT_EQ(ActivePath(*m_app), path) << "the word is an option, the file opens";
    EXPECT_TRUE(m_app->GetMainFrame()->isVisible());
    EXPECT_FALSE(QFile::exists(TerminalEntry())) << "no forced write";

    ASSERT_TRUE(Start({QStringLiteral("/uninstall"), path}));
    EXPECT_TRUE(QFile::exists(OpenWithEntry())) << "nothing removed";
    EXPECT_EQ(prompts.Count(), 0);
}

TEST_F(AppTest, MovedProgramRewritesTheRegistration) {
    ASSERT_TRUE(Start({}));
    m_app->ExitInstance();
    ASSERT_TRUE(QFile::remove(TerminalEntry()));
    m_app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The same program in a folder whose name differs only in case.
    const QString moved = Path("Bin/quexo");
    m_app = std::make_unique<TestQuexoApp>(QStringList{}, moved);
    ASSERT_TRUE(m_app->InitInstance());
    EXPECT_EQ(RecordedProgram(OpenWithEntry()), moved);
    EXPECT_EQ(RecordedProgram(TerminalEntry()), moved);
}

TEST_F(AppTest, RecentFilesSurviveARestart) {
    const QString first = Write("first.bin", Binary());
    const QString second = Write("second.bin", Binary());
    ASSERT_TRUE(Start({first}));
    m_app->OpenDocumentFile(second);
    m_app->ExitInstance();

    ASSERT_TRUE(Start({}));
    EXPECT_EQ(m_app->GetRecentFileList()[0], second);
    EXPECT_EQ(m_app->GetRecentFileList()[1], first);
}

TEST_F(AppTest, OpenTextModeSurvivesARestart) {
    ASSERT_TRUE(Start({}));
    m_app->m_nOpenTextMode = 1;
    m_app->ExitInstance();
    ASSERT_TRUE(QSettings(QStringLiteral("Tavrin Software"), QStringLiteral("QuexoPro"))
                    .contains(QStringLiteral("Settings/OpenTextMode")));

    ASSERT_TRUE(Start({}));
    EXPECT_EQ(m_app->m_nOpenTextMode, 1);
}

TEST_F(AppTest, DroppedFilesOpen) {
    PromptScript prompts;
    ASSERT_TRUE(Start({}));
    const QString a = Write("a.bin", Binary());
    const QString b = Write("b.bin", Binary());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    CMainFrame* frame = m_app->GetMainFrame();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 2);
    EXPECT_EQ(ActivePath(*m_app), b);
    EXPECT_EQ(prompts.Count(), 0);
}
