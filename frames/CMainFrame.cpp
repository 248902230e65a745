#include "frames/CMainFrame.h"

#include "display/CCursorDataDlg.h"
#include "display/ProfileSection.h"
#include "display/ViewCommandIds.h"
#include "frames/CStatusBar.h"
#include "frames/FrameCommandIds.h"
#include "framework/CCmdUI.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/StdCommandIds.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

namespace {

constexpr unsigned kToolBarId = ID_VIEW_TOOLBAR;      // 59392
constexpr unsigned kStatusBarId = ID_VIEW_STATUS_BAR; // 59393
constexpr int kMaxListedWindows = 9;

WindowRect ToWindowRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ToQRect(const WindowRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Whether some part of `rect` lies on a screen, so a window placed there can be
// reached (a stored place may belong to a screen that is gone).
bool OnSomeScreen(const QRect& rect) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return true;
    for (const QScreen* screen : screens)
        if (screen->availableGeometry().intersects(rect))
            return true;
    return false;
}

QString Text(unsigned id) {
    return QString::fromUtf8(res::LoadString(id));
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : CMDIFrameWnd(parent) {
    OnCommand(ID_VIEW_CURSORDATA, [this] { OnViewCursorData(); });
    OnUpdateCommand(ID_VIEW_CURSORDATA, [this](CCmdUI* ui) {
        ui->Enable(m_pCursorData != nullptr);
        ui->SetCheck(m_pCursorData && m_pCursorData->isVisible() ? 1 : 0);
    });
    connect(this, &CMDIFrameWnd::activeChildChanged, this, [this] { UpdateMenuSet(); });
}

CMainFrame::~CMainFrame() = default;

const std::vector<unsigned>& CMainFrame::Indicators() {
    static const std::vector<unsigned> indicators{0, ID_INDICATOR_OFFSET, ID_INDICATOR_SELECTION};
    return indicators;
}

bool CMainFrame::LoadFrame() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return false;
    if (m_pStatusBar)
        return true;
    SetTitle(Text(128));
    setWindowIcon(ApplicationIcon());

    m_noDocumentMenu = BuildMenuSet(*app, NoDocumentMenu(), this);
    m_documentMenu = BuildMenuSet(*app, DocumentMenu(), this);
    if (m_documentMenu.windowMenu)
        connect(m_documentMenu.windowMenu, &QMenu::aboutToShow, this,
                [this] { FillWindowList(m_documentMenu.windowMenu); });
    ApplyAccelerators(*app, this);
    UpdateMenuSet();

    // Both bars start hidden; RestoreWindowState shows them as they were left.
    m_pToolBar = new QToolBar(Text(59392).section(QLatin1Char('\n'), 1), this);
    m_pToolBar->setObjectName(QStringLiteral("toolBar%1").arg(kToolBarId));
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    FillToolBar(*app, m_pToolBar);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    m_pToolBar->hide();
    SetControlBar(kToolBarId, m_pToolBar);

    m_pStatusBar = new CStatusBar(this);
    m_pStatusBar->setObjectName(QStringLiteral("statusBar%1").arg(kStatusBarId));
    if (!m_pStatusBar->SetIndicators(Indicators()))
        return false;
    setStatusBar(m_pStatusBar);
    m_pStatusBar->hide();
    SetControlBar(kStatusBarId, m_pStatusBar);
    for (int i = 0; i < m_pStatusBar->GetCount(); ++i)
        m_pStatusBar->SetPaneText(i, QString());

    m_pCursorData = new CCursorDataDlg(this);
    // Its key works there too, so the window can be put away from itself.
    m_pCursorData->addAction(app->GetCommandAction(ID_VIEW_CURSORDATA));
    return true;
}

void CMainFrame::OnUpdateFrameTitle() {
    CMDIChildWnd* child = MDIGetActive();
    if (!child || !child->isMaximized() || child->windowTitle().isEmpty()) {
        CMDIFrameWnd::OnUpdateFrameTitle();
        return;
    }
    // A maximized document window merges its name into ours in brackets; the
    // MDI area then leaves a title that already holds "- [name]" alone.
    setWindowTitle(QStringLiteral("%1 - [%2]").arg(GetTitle(), child->windowTitle()));
}

void CMainFrame::OnClose() {
    SaveWindowState();
    CMDIFrameWnd::OnClose();
}

void CMainFrame::OnIdleUpdateCmdUI() {
    CMDIFrameWnd::OnIdleUpdateCmdUI();
    UpdateMenuSet();
    UpdateStatusPanes();
    if (m_pCursorData && m_pCursorData->isVisible())
        m_pCursorData->OnIdleUpdateCmdUI();
}

void CMainFrame::UpdateMenuSet() {
    if (m_noDocumentMenu.popups.isEmpty())
        return; // not loaded yet
    const int wanted = GetChildFrames().isEmpty() ? 0 : 1;
    if (wanted == m_nMenuSet)
        return;
    m_nMenuSet = wanted;
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* popup : (wanted ? m_documentMenu : m_noDocumentMenu).popups)
        bar->addMenu(popup);
}

void CMainFrame::UpdateStatusPanes() {
    CWinApp* app = AfxGetApp();
    if (!m_pStatusBar || !app)
        return;
    for (int i = 1; i < m_pStatusBar->GetCount(); ++i) {
        CCmdUI ui(m_pStatusBar->GetItemID(i), i);
        app->UpdateCmdUI(&ui, false);
        // No view to answer (no document window): the pane stays empty.
        const bool answered = ui.m_bEnableChanged && ui.m_bEnabled && ui.m_text;
        m_pStatusBar->SetPaneText(i, answered ? *ui.m_text : QString());
    }
    m_pStatusBar->SetPaneText(0, Text(AFX_IDS_IDLEMESSAGE));
}

void CMainFrame::FillWindowList(QMenu* menu) {
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<CMDIChildWnd*> frames = GetChildFrames();
    if (frames.isEmpty())
        return;
    m_windowListActions.append(menu->addSeparator());
    CMDIChildWnd* active = MDIGetActive();
    int number = 0;
    for (CMDIChildWnd* frame : frames) {
        if (++number > kMaxListedWindows)
            break;
        QString title = frame->windowTitle();
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(number).arg(title));
        action->setCheckable(true);
        action->setChecked(frame == active);
        // Looked up again when chosen: the window may have gone meanwhile.
        connect(action, &QAction::triggered, this, [this, number] {
            const QList<CMDIChildWnd*> now = GetChildFrames();
            if (number <= now.size())
                now[number - 1]->ActivateFrame();
        });
        m_windowListActions.append(action);
    }
}

void CMainFrame::OnViewCursorData() {
    if (!m_pCursorData)
        return;
    if (m_pCursorData->isVisible()) {
        m_pCursorData->hide();
    } else {
        m_pCursorData->show();
        m_pCursorData->OnIdleUpdateCmdUI();
    }
    // Typing goes on in the document.
    activateWindow();
    if (CMDIChildWnd* child = MDIGetActive())
        if (CView* view = child->GetActiveView())
            view->setFocus();
}

WindowPlacement CMainFrame::MainPlacement() const {
    WindowPlacement placement;
    placement.showCmd = isMinimized()   ? kShowMinimized
                        : isMaximized() ? kShowMaximized
                                        : kShowNormal;
    if (isMinimized() && (windowState() & Qt::WindowMaximized))
        placement.flags = 2; // comes back maximized from the taskbar
    placement.minPosition = {-1, -1};
    placement.maxPosition = {-1, -1};
    // The client area in the normal state: what setGeometry takes back.
    QRect normal = normalGeometry();
    if (normal.isEmpty())
        normal = geometry();
    placement.normalPosition = ToWindowRect(normal);
    return placement;
}

WindowPlacement CMainFrame::CursorWindowPlacement() const {
    WindowPlacement placement;
    placement.showCmd = kShowNormal;
    placement.minPosition = {-1, -1};
    placement.maxPosition = {-1, -1};
    // Its client area, as for the main window: what setGeometry takes back
    // exactly. The frame's corner is not: before the window is shown Qt does
    // not know the frame, and a window manager then put the frame where the
    // client area was meant to be, a title bar higher at every start.
    placement.normalPosition = ToWindowRect(m_pCursorData->geometry());
    return placement;
}

void CMainFrame::SaveWindowState() {
    if (!m_pCursorData)
        return;
    WindowState state;
    state.main = MainPlacement();
    state.cursorWindow = CursorWindowPlacement();
    state.cursorWindowVisible = m_pCursorData->isVisible();
    state.toolBarVisible = m_pToolBar->isVisibleTo(this);
    state.statusBarVisible = m_pStatusBar->isVisibleTo(this);
    CProfileSection section;
    SaveWindowStateTo(section, state);
}

void CMainFrame::RestoreWindowState() {
    CProfileSection section;

    const MainWindowRestore main = RestoreMainWindow(section.ReadBinary("WindowPos"));
    QRect normal = main.placement ? ToQRect(main.placement->normalPosition) : QRect();
    if (normal.isValid() && !normal.isEmpty() && OnSomeScreen(normal)) {
        setGeometry(normal);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // The desktop places a new window; we only give it a useful size.
        resize(screen->availableGeometry().size() * 3 / 4);
    }
    if (main.showCmd == kShowMaximized)
        showMaximized();
    else
        showNormal();

    if (m_pCursorData) {
        const QPoint corner = pos();
        CursorWindowRestore cursor =
            RestoreCursorWindow(section.ReadBinary("CursorWindow"), {corner.x(), corner.y()});
        const QPoint defaultSpot = corner + QPoint(200, 100);
        QPoint place(cursor.topLeft.x, cursor.topLeft.y);
        if (!OnSomeScreen(QRect(place, m_pCursorData->sizeHint())))
            place = defaultSpot;
        if (place == defaultSpot)
            m_pCursorData->move(place); // frame beside frame
        else
            m_pCursorData->setGeometry(QRect(place, m_pCursorData->sizeHint()));
        if (cursor.visible)
            m_pCursorData->show();
    }

    activateWindow();
    if (CMDIChildWnd* child = MDIGetActive())
        if (CView* view = child->GetActiveView())
            view->setFocus();

    if (m_pToolBar)
        m_pToolBar->setVisible(RestoreBarVisible(section.ReadText("ToolBar")));
    if (m_pStatusBar)
        m_pStatusBar->setVisible(RestoreBarVisible(section.ReadText("StatusBar")));
}
