// What the view offers the editing commands (IHexView), and the panel a
// command may put under the grid.
#include "display/CQuexoView.h"

#include <QEvent>

#include <algorithm>

std::int64_t CQuexoView::GetCaret() const {
    return m_grid.GetCaret();
}

CByteRange CQuexoView::GetSelection() const {
    return m_grid.GetSelection();
}

CEditPlace CQuexoView::GetPlace() const {
    return {m_grid.GetCaret(), m_grid.GetAnchor()};
}

void CQuexoView::SetPlace(CEditPlace place) {
    m_grid.SetCaret(place.caret, true);
    m_grid.SetAnchor(place.anchor);
}

void CQuexoView::Repaint() {
    m_grid.viewport()->update();
}

int CQuexoView::GetCharSet() const {
    return m_grid.GetCharSet();
}

bool CQuexoView::IsHexAddress() const {
    return m_grid.IsHexAddress();
}

QWidget* CQuexoView::DialogParent() const {
    return window();
}

CFindState CQuexoView::FindState() {
    return CFindState{m_findBytes, m_bMatchCase, m_bSearchDown};
}

void CQuexoView::SetMatchHighlight(const CByteString& pattern, bool matchCase) {
    m_grid.SetMatchHighlight(pattern, matchCase);
}

void CQuexoView::AddCommand(unsigned id, CommandHandler handler) {
    OnCommand(id, std::move(handler));
}

void CQuexoView::AddCommandUpdate(unsigned id, CommandUpdateHandler handler) {
    OnUpdateCommand(id, std::move(handler));
}

void CQuexoView::AddUpdateListener(UpdateListener listener) {
    m_updateListeners.push_back(std::move(listener));
}

void CQuexoView::NotifyUpdateListeners(long parts) {
    for (const UpdateListener& listener : m_updateListeners)
        listener(parts);
}

void CQuexoView::SetBottomPanel(QWidget* panel) {
    if (panel == m_pBottomPanel)
        return;
    if (m_pBottomPanel) {
        m_pBottomPanel->removeEventFilter(this);
        m_pBottomPanel->deleteLater();
    }
    m_pBottomPanel = panel;
    if (panel) {
        panel->setParent(this);
        panel->hide();
        panel->installEventFilter(this);
    }
    LayOutChildren();
}

bool CQuexoView::eventFilter(QObject* watched, QEvent* event) {
    QWidget* panel = m_pBottomPanel.data();
    if (panel && watched == panel) {
        if (event->type() == QEvent::Show) {
            LayOutChildren();
        } else if (event->type() == QEvent::Hide && panel->isHidden()) {
            // Closed, not merely hidden with the window: the bytes get the
            // whole view and the keyboard back.
            LayOutChildren();
            m_grid.setFocus();
        }
    }
    return CView::eventFilter(watched, event);
}

void CQuexoView::LayOutChildren() {
    const QRect all = rect();
    QWidget* panel = m_pBottomPanel.data();
    if (!panel || !panel->isVisibleTo(this)) {
        m_grid.setGeometry(all);
        return;
    }
    // A third of the window, within reason, and never more than half.
    const int height = std::min(all.height() / 2, std::clamp(all.height() / 3, 140, 280));
    m_grid.setGeometry(all.adjusted(0, 0, 0, -height));
    panel->setGeometry(all.x(), all.bottom() + 1 - height, all.width(), height);
}
