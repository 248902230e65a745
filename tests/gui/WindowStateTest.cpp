// The window state kept between runs: main window placement, the cursor data
// window's place and visibility, and the two bars.
#include "FrameTestSupport.h"

#include "frames/FrameCommandIds.h"
#include "frames/WindowPlacement.h"
#include "framework/StdCommandIds.h"

#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>

namespace {

QByteArray Record(std::uint32_t showCmd, QRect rect) {
    WindowPlacement placement;
    placement.showCmd = showCmd;
    placement.normalPosition = {rect.left(), rect.top(), rect.left() + rect.width(),
                                rect.top() + rect.height()};
    const ByteVector bytes = EncodeWindowPlacement(placement);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::optional<WindowPlacement> Stored(const char* name) {
    const QByteArray bytes =
        ProgramProfile().value(QStringLiteral("Settings/") + name).toByteArray();
    return DecodeWindowPlacement(ByteVector(bytes.begin(), bytes.end()));
}

} // namespace

class WindowStateTest : public FrameTest {
protected:
    // The frame of a second run, reading what the first one stored.
    void Restart() {
        m_app->CloseAllDocuments();
        delete m_pMain;
        m_pMain = new CMainFrame;
        ASSERT_TRUE(m_pMain->LoadFrame());
        m_app->SetMainWnd(m_pMain);
        Profile().sync();
        Start();
    }
};

TEST_F(WindowStateTest, FirstRunDefaults) {
    Start();
    EXPECT_TRUE(m_pMain->isVisible());
    EXPECT_FALSE(m_pMain->isMaximized());
    EXPECT_FALSE(m_pMain->isMinimized());
    CCursorDataDlg* cursor = m_pMain->GetCursorDataWnd();
    EXPECT_TRUE(cursor->isVisible());
    EXPECT_EQ(cursor->pos(), m_pMain->pos() + QPoint(200, 100));
    EXPECT_TRUE(m_pMain->GetToolBar()->isVisible());
    EXPECT_TRUE(m_pMain->GetStatusBar()->isVisible());
}

TEST_F(WindowStateTest, StoredEvenWhenTheCloseIsCancelled) {
    Start();
    CQuexoDoc* doc = Open(QByteArray("\x01\x02", 2));
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);
    m_pMain->GetToolBar()->hide();
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_CURSORDATA)); // hides it
    const QRect normal = m_pMain->normalGeometry();

    PromptScript prompts;
    prompts.Answer(IDCANCEL);
    EXPECT_FALSE(m_pMain->close());
    EXPECT_EQ(prompts.Count(), 1);
    EXPECT_TRUE(m_pMain->isVisible());
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);

    Profile().sync();
    EXPECT_EQ(Profile().value("Settings/WindowPos").toByteArray().size(), 44);
    EXPECT_EQ(Profile().value("Settings/CursorWindow").toByteArray().size(), 44);
    const auto main = Stored("WindowPos");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->showCmd, kShowNormal);
    EXPECT_EQ(main->normalPosition.left, normal.left());
    EXPECT_EQ(main->normalPosition.right - main->normalPosition.left, normal.width());
    const auto cursor = Stored("CursorWindow");
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->showCmd, kShowHide);
    EXPECT_EQ(Profile().value("Settings/ToolBar").toInt(), 0);
    EXPECT_EQ(Profile().value("Settings/StatusBar").toInt(), 1);
}

TEST_F(WindowStateTest, MinimisedComesBackNormalAndMaximisedMaximised) {
    const QRect place(40, 30, 640, 420);
    Profile().setValue("Settings/WindowPos", Record(kShowMinimized, place));
    Start();
    EXPECT_TRUE(m_pMain->isVisible());
    EXPECT_FALSE(m_pMain->isMinimized());
    EXPECT_FALSE(m_pMain->isMaximized());
    EXPECT_EQ(m_pMain->geometry(), place);

    m_pMain->showMaximized();
    QCoreApplication::processEvents();
    m_pMain->SaveWindowState();
    Restart();
    EXPECT_TRUE(m_pMain->isMaximized());
    m_pMain->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_pMain->geometry(), place) << "the normal place is kept while maximised";
}

TEST_F(WindowStateTest, HiddenCursorWindowStaysHiddenAtItsPlace) {
    Start();
    CCursorDataDlg* cursor = m_pMain->GetCursorDataWnd();
    cursor->move(m_pMain->pos() + QPoint(30, 40));
    const QPoint place = cursor->pos();
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_CURSORDATA));
    m_pMain->SaveWindowState();

    Restart();
    cursor = m_pMain->GetCursorDataWnd();
    EXPECT_FALSE(cursor->isVisible());
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_CURSORDATA));
    EXPECT_TRUE(cursor->isVisible());
    EXPECT_EQ(cursor->pos(), place);
}

TEST_F(WindowStateTest, BarsComeBackAsTheyWereLeft) {
    Start();
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_STATUS_BAR));
    ASSERT_FALSE(m_pMain->GetStatusBar()->isVisible());
    m_pMain->SaveWindowState();
    Restart();
    EXPECT_TRUE(m_pMain->GetToolBar()->isVisible());
    EXPECT_FALSE(m_pMain->GetStatusBar()->isVisible());
    Idle();
    EXPECT_FALSE(Action(ID_VIEW_STATUS_BAR)->isChecked());
    EXPECT_TRUE(Action(ID_VIEW_TOOLBAR)->isChecked());
}

TEST_F(WindowStateTest, PlacesOffEveryScreenAreBroughtBack) {
    const QRect away(-30000, -30000, 500, 400);
    Profile().setValue("Settings/WindowPos", Record(kShowNormal, away));
    Profile().setValue("Settings/CursorWindow", Record(kShowNormal, away));
    Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(m_pMain->frameGeometry()));
    EXPECT_TRUE(screen.intersects(m_pMain->GetCursorDataWnd()->frameGeometry()));
}

// Under a window manager a frame and its client area differ: saving one and
// restoring the other would move the windows at every run.
TEST_F(WindowStateTest, TenRestartsLeaveBothWindowsWhereTheyWere) {
    Start();
    m_pMain->move(m_pMain->pos() + QPoint(37, 23));
    CCursorDataDlg* cursor = m_pMain->GetCursorDataWnd();
    ASSERT_TRUE(cursor->isVisible());
    cursor->move(m_pMain->pos() + QPoint(300, 150));
    QTest::qWait(200); // a window manager places windows in its own time
    const QPoint mainPlace = m_pMain->pos();
    const QRect mainClient = m_pMain->geometry();
    const QPoint cursorPlace = cursor->pos();
    for (int run = 1; run <= 10; ++run) {
        SCOPED_TRACE(run);
        m_pMain->SaveWindowState();
        Restart();
        cursor = m_pMain->GetCursorDataWnd();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(cursor));
        (void)QTest::qWaitFor(
            [&] { return m_pMain->pos() == mainPlace && cursor->pos() == cursorPlace; }, 1000);
        EXPECT_EQ(m_pMain->pos(), mainPlace);
        EXPECT_EQ(m_pMain->geometry(), mainClient);
        EXPECT_EQ(cursor->pos(), cursorPlace);
    }
}
