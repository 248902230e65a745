#include "frames/CStatusBar.h"

#include "resources/StringTable.h"

#include <QFontMetrics>
#include <QLabel>

namespace {
// Room for the label's own margins and the pane's border.
constexpr int kPanePadding = 12;
} // namespace

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent) {}

bool CStatusBar::SetIndicators(const std::vector<unsigned>& ids) {
    for (const PaneInfo& pane : m_panes) {
        removeWidget(pane.label);
        delete pane.label;
    }
    m_panes.clear();
    bool ok = true;
    for (unsigned id : ids) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("pane%1").arg(id));
        if (id == 0) {
            // A temporary message (a prompt) hides it while it shows.
            addWidget(label, 1);
        } else {
            const QString sample = QString::fromUtf8(res::LoadString(id));
            ok = ok && !sample.isEmpty();
            label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            label->setIndent(3);
            label->setFixedWidth(label->fontMetrics().horizontalAdvance(sample) + kPanePadding);
            addPermanentWidget(label);
        }
        m_panes.push_back({id, label});
    }
    return ok;
}

unsigned CStatusBar::GetItemID(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[std::size_t(index)].id : 0;
}

int CStatusBar::CommandToIndex(unsigned id) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[std::size_t(i)].id == id)
            return i;
    return -1;
}

void CStatusBar::SetPaneText(int index, const QString& text) {
    if (QLabel* label = Pane(index); label && label->text() != text)
        label->setText(text);
}

QString CStatusBar::GetPaneText(int index) const {
    QLabel* label = Pane(index);
    return label ? label->text() : QString();
}

QLabel* CStatusBar::Pane(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[std::size_t(index)].label : nullptr;
}
