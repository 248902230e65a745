// What an update handler decides for one command: enabled, checked, text. The
// caller applies the result to the command's action or status pane.
#pragma once

#include <QString>

#include <optional>

class QAction;

class CCmdUI {
public:
    explicit CCmdUI(unsigned id = 0, int index = 0) : m_nID(id), m_nIndex(index) {}

    void Enable(bool on = true) {
        m_bEnabled = on;
        m_bEnableChanged = true;
    }
    // 0 unchecked, 1 checked (2, indeterminate, shows as checked).
    void SetCheck(int check = 1) { m_nCheck = check; }
    void SetText(const QString& text) { m_text = text; }
    // Hides or shows the entry (the recent-file slots use it).
    void SetVisible(bool visible) { m_bVisible = visible; }

    // Gives the decisions to an action: enabled state, check mark and text.
    void ApplyTo(QAction* action) const;

    unsigned m_nID = 0;
    int m_nIndex = 0; // the pane or button index, when there is one
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
    std::optional<int> m_nCheck;
    std::optional<QString> m_text;
    std::optional<bool> m_bVisible;
};
