// The modeless window that shows the bytes at the active view's caret as a
// byte, 16- and 32-bit integers, float and double, in either byte order. It
// holds no data: each field asks the active view for its text through the
// command-update routing.
#pragma once

#include <QDialog>

#include <array>

class QButtonGroup;
class QLineEdit;
class QRadioButton;

class CCursorDataDlg : public QDialog {
    Q_OBJECT
public:
    // Control identifiers of the byte-order buttons.
    static constexpr unsigned IDC_LITTLE_ENDIAN = 1037; // "Petit"
    static constexpr unsigned IDC_BIG_ENDIAN = 1038;    // "Gros Endian"

    // `owner` is the main frame: the window stays above it and gives it the
    // keyboard focus back.
    explicit CCursorDataDlg(QWidget* owner = nullptr);

    // Refreshes the five value fields through the command-update routing; with
    // no view to answer they are emptied and disabled.
    void OnIdleUpdateCmdUI();

    // The field of control 1045 ... 1049, or null.
    QLineEdit* Field(unsigned id) const;
    QRadioButton* OrderButton(unsigned id) const;

    int m_nByteOrder = 0; // 0 little-endian ("Petit"), 1 big-endian ("Gros Endian")

private:
    void OnByteOrder(int order);

    std::array<QLineEdit*, 5> m_fields{};
    QRadioButton* m_pLittle = nullptr;
    QRadioButton* m_pBig = nullptr;
    QButtonGroup* m_pOrderGroup = nullptr;
};
