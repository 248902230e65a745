// The modeless window that shows the bytes at the active view's caret as a
// byte, 16- and 32-bit integers, float and double, in either byte order.
#pragma once

#include <QDialog>

class CCursorDataDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCursorDataDlg(QWidget* owner = nullptr);

    // Refreshes the five value fields through the command-update routing.
    void OnIdleUpdateCmdUI();

    int m_nByteOrder = 0; // 0 little-endian ("Petit"), 1 big-endian ("Gros Endian")
};
