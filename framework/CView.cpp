#include "framework/CView.h"

#include "framework/CDocument.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CommandGuard.h"

#include <QPainter>

CView::CView(QWidget* parent) : QWidget(parent) {}

CDocument* CView::GetDocument() const {
    return m_pDocument.data();
}

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CMDIChildWnd* CView::GetParentFrame() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = qobject_cast<CMDIChildWnd*>(w))
            return frame;
    return nullptr;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* /*sender*/, long /*hint*/, QObject* /*hintObject*/) {
    update();
}

void CView::OnActivateView(bool /*activate*/) {}

void CView::OnDraw(QPainter* /*painter*/) {}

bool CView::OnPreparePrinting(CPrintInfo* /*info*/) {
    return true;
}

void CView::OnBeginPrinting(QPainter* /*painter*/, CPrintInfo* /*info*/) {}

void CView::OnPrint(QPainter* painter, CPrintInfo* /*info*/) {
    OnDraw(painter);
}

void CView::OnEndPrinting(QPainter* /*painter*/, CPrintInfo* /*info*/) {}

void CView::paintEvent(QPaintEvent* /*event*/) {
    RunGuarded([this] {
        QPainter painter(this);
        OnDraw(&painter);
    });
}
