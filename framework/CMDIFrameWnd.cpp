#include "framework/CMDIFrameWnd.h"

#include "framework/CDocTemplate.h"
#include "framework/CDocument.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CProgress.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "framework/StdCommandIds.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

namespace {
const char* const kStopOperationQuestion =
    "Une opération est en cours.\nVoulez-vous l'interrompre avant de fermer ?";
} // namespace

CMDIFrameWnd::CMDIFrameWnd(QWidget* parent) : QMainWindow(parent), m_pMdiArea(new QMdiArea(this)) {
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMDIFrameWnd::OnSubWindowActivated);

    OnCommand(ID_WINDOW_NEW, [this] { OnWindowNew(); });
    OnCommand(ID_WINDOW_CASCADE, [this] { m_pMdiArea->cascadeSubWindows(); });
    OnCommand(ID_WINDOW_TILE_HORZ, [this] { m_pMdiArea->tileSubWindows(); });
    // Minimised windows are laid out by the MDI area itself; tiling is the
    // nearest arrangement it offers.
    OnCommand(ID_WINDOW_ARRANGE, [this] { m_pMdiArea->tileSubWindows(); });
    for (unsigned id : {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
        OnUpdateCommand(id, [this](CCmdUI* ui) { ui->Enable(MDIGetActive() != nullptr); });

    OnCommandRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, [this](unsigned id) {
        if (QWidget* bar = GetControlBar(id))
            bar->setVisible(!bar->isVisible());
    });
    OnUpdateCommandRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, [this](CCmdUI* ui) {
        QWidget* bar = GetControlBar(ui->m_nID);
        ui->Enable(bar != nullptr);
        ui->SetCheck(bar && bar->isVisible() ? 1 : 0);
    });
}

CMDIFrameWnd::~CMDIFrameWnd() = default;

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
    if (auto* frame = qobject_cast<CMDIChildWnd*>(m_pMdiArea->currentSubWindow()))
        if (frame->isVisible() || !isVisible())
            return frame;
    return nullptr;
}

QList<CMDIChildWnd*> CMDIFrameWnd::GetChildFrames() const {
    QList<CMDIChildWnd*> frames;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (auto* frame = qobject_cast<CMDIChildWnd*>(window))
            frames.append(frame);
    return frames;
}

CDocument* CMDIFrameWnd::GetActiveDocument() const {
    CMDIChildWnd* frame = MDIGetActive();
    return frame ? frame->GetActiveDocument() : nullptr;
}

void CMDIFrameWnd::SetTitle(const QString& title) {
    m_strTitle = title;
    OnUpdateFrameTitle();
}

void CMDIFrameWnd::OnUpdateFrameTitle() {
    QString title = m_strTitle;
    if (m_bAddToTitle)
        if (CMDIChildWnd* frame = MDIGetActive())
            if (!frame->windowTitle().isEmpty())
                title = title.isEmpty() ? frame->windowTitle()
                                        : title + QStringLiteral(" - ") + frame->windowTitle();
    setWindowTitle(title);
}

void CMDIFrameWnd::SetControlBar(unsigned id, QWidget* bar) {
    m_bars[id] = bar;
}

QWidget* CMDIFrameWnd::GetControlBar(unsigned id) const {
    const auto it = m_bars.find(id);
    return it == m_bars.end() ? nullptr : it->second.data();
}

void CMDIFrameWnd::OnIdleUpdateCmdUI() {}

void CMDIFrameWnd::OnClose() {
    // A close that reaches us during a long operation (the title bar's close
    // button is held back by the progress dialog's modality, not every close
    // is): stopping the operation comes first, the save questions after it.
    if (CProgress* running = CProgress::Current()) {
        if (AfxMessageBox(QString::fromUtf8(kStopOperationQuestion), MB_YESNO) == IDYES)
            running->Cancel();
        return;
    }
    CWinApp* app = AfxGetApp();
    if (app && !app->SaveAllModified())
        return;
    if (app)
        app->CloseAllDocuments();
    AcceptClose();
}

void CMDIFrameWnd::closeEvent(QCloseEvent* event) {
    m_bCloseAccepted = false;
    RunGuarded([this] { OnClose(); });
    event->setAccepted(m_bCloseAccepted);
    if (m_bCloseAccepted)
        if (CWinApp* app = AfxGetApp(); app && app->GetMainWnd() == this)
            QCoreApplication::quit(); // ends the message loop when one runs
}

namespace {
// Long enough to be read after a save, short enough not to linger.
constexpr int kMessageTimeout = 15000;

QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files.append(url.toLocalFile());
    return files;
}
} // namespace

void CMDIFrameWnd::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMDIFrameWnd::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    for (const QString& file : files)
        if (CWinApp* app = AfxGetApp())
            RunGuarded([app, &file] { app->OpenDocumentFile(file); });
}

void CMDIFrameWnd::OnWindowNew() {
    CDocument* document = GetActiveDocument();
    CDocTemplate* docTemplate = document ? document->GetDocTemplate() : nullptr;
    if (!docTemplate)
        return;
    CMDIChildWnd* frame = docTemplate->CreateNewFrame(document);
    docTemplate->InitialUpdateFrame(frame, document);
}

void CMDIFrameWnd::OnSubWindowActivated(QMdiSubWindow* window) {
    auto* frame = qobject_cast<CMDIChildWnd*>(window);
    if (frame != m_pLastActive) {
        if (m_pLastActive)
            if (CView* view = m_pLastActive->GetActiveView())
                view->OnActivateView(false);
        m_pLastActive = frame;
        if (frame)
            if (CView* view = frame->GetActiveView())
                view->OnActivateView(true);
    }
    OnUpdateFrameTitle();
    emit activeChildChanged(frame);
    if (CWinApp* app = AfxGetApp())
        app->RequestIdle();
}

void CMDIFrameWnd::SetMessageText(const QString& text) {
    // The status bar, if the frame has one; statusBar() would make one.
    if (auto* bar = findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly))
        bar->showMessage(text, kMessageTimeout);
}
