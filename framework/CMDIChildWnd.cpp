#include "framework/CMDIChildWnd.h"

#include "framework/CDocument.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/CommandGuard.h"
#include "framework/StdCommandIds.h"

#include <QCloseEvent>
#include <QMdiArea>

CMDIChildWnd::CMDIChildWnd(QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose, false); // the document decides when frames go
}

CMDIChildWnd::~CMDIChildWnd() {
    if (m_pView)
        if (CDocument* document = m_pView->GetDocument())
            document->RemoveView(m_pView);
}

void CMDIChildWnd::SetView(CView* view) {
    m_pView = view;
    setWidget(view);
}

CView* CMDIChildWnd::GetActiveView() const {
    return m_pView;
}

CDocument* CMDIChildWnd::GetActiveDocument() const {
    return m_pView ? m_pView->GetDocument() : nullptr;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = qobject_cast<CMDIFrameWnd*>(w))
            return frame;
    return nullptr;
}

void CMDIChildWnd::ActivateFrame(int showCommand) {
    if (!m_bPlaced) {
        // A new window takes a good part of the area, as new windows do on the
        // desktop, instead of its widget's minimal size.
        m_bPlaced = true;
        if (QMdiArea* area = mdiArea())
            resize(area->viewport()->size() * 2 / 3);
    }
    if (showCommand == SW_SHOWMAXIMIZED)
        showMaximized();
    else if (showCommand == SW_SHOWNORMAL)
        showNormal();
    else
        show();
    if (QMdiArea* area = mdiArea())
        area->setActiveSubWindow(this);
    if (m_pView)
        m_pView->setFocus();
    if (CWinApp* app = AfxGetApp())
        app->RequestIdle();
}

void CMDIChildWnd::OnUpdateFrameTitle() {
    CDocument* document = GetActiveDocument();
    QString title = document ? document->GetTitle() : QString();
    if (m_nWindow > 0)
        title += QStringLiteral(":%1").arg(m_nWindow);
    setWindowTitle(title);
}

void CMDIChildWnd::DestroyFrame() {
    if (m_bDestroying)
        return;
    m_bDestroying = true;
    hide();
    if (QMdiArea* area = mdiArea())
        area->removeSubWindow(this);
    // Detaching the last view may close the document (which then also closes us;
    // the flag above makes that a no-op).
    if (m_pView)
        if (CDocument* document = m_pView->GetDocument())
            document->RemoveView(m_pView);
    deleteLater();
    if (CWinApp* app = AfxGetApp()) {
        if (CMDIFrameWnd* main = app->GetMainWnd())
            main->OnUpdateFrameTitle();
        app->RequestIdle();
    }
}

void CMDIChildWnd::closeEvent(QCloseEvent* event) {
    // The frame never closes by itself: the document decides, then destroys it.
    event->ignore();
    if (m_bDestroying)
        return;
    RunGuarded([this] {
        CDocument* document = GetActiveDocument();
        if (document && !document->CanCloseFrame(this))
            return;
        if (document && document->GetFrames().size() <= 1) {
            document->PreCloseFrame(this);
            document->OnCloseDocument();
            return;
        }
        DestroyFrame();
    });
}
