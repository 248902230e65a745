// The main frame's status bar: the message pane, which also shows a command's
// prompt while its menu entry or button is under the mouse, and indicator
// panes whose widths come from the string-table text of their identifier.
#pragma once

#include <QStatusBar>

#include <vector>

class QLabel;

class CStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CStatusBar(QWidget* parent = nullptr);

    // Pane 0 is the message pane (identifier 0, stretching); the others are
    // sized to hold the text of their identifier's string. False when an
    // identifier has no string.
    bool SetIndicators(const std::vector<unsigned>& ids);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    unsigned GetItemID(int index) const;
    int CommandToIndex(unsigned id) const;
    void SetPaneText(int index, const QString& text);
    QString GetPaneText(int index) const;
    // The pane as shown, for tests and layout checks.
    QLabel* Pane(int index) const;

private:
    struct PaneInfo {
        unsigned id;
        QLabel* label;
    };
    std::vector<PaneInfo> m_panes;
};
