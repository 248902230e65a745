#include "framework/CCmdUI.h"

#include <QAction>

void CCmdUI::ApplyTo(QAction* action) const {
    if (!action)
        return;
    if (action->isEnabled() != m_bEnabled)
        action->setEnabled(m_bEnabled);
    if (m_nCheck) {
        if (!action->isCheckable())
            action->setCheckable(true);
        const bool checked = *m_nCheck != 0;
        if (action->isChecked() != checked)
            action->setChecked(checked);
    }
    if (m_text && action->text() != *m_text)
        action->setText(*m_text);
    if (m_bVisible && action->isVisible() != *m_bVisible)
        action->setVisible(*m_bVisible);
}
