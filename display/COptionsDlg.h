// Dialog 133, "Options": the address base, the character set of the view,
// bytes 0x80-0xFF, a fixed number of bytes per row and what opening a text
// file does. The members are moved into the controls when the dialog opens and
// back when OK is pressed; OK refuses a count that is not a number or that is
// larger than a row can hold, and keeps the dialog open on the field.
#pragma once

#include "framework/DialogRunner.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class COptionsDlg : public CDialog {
    Q_OBJECT
public:
    // Control identifiers, also the controls' object names ("radio1000", ...).
    static constexpr int IDC_HEX = 1000;
    static constexpr int IDC_DECIMAL = 1001;
    static constexpr int IDC_SHOW_UPPER = 1002;
    static constexpr int IDC_FIXED_COLUMNS = 1003;
    static constexpr int IDC_COLUMNS = 1004;
    static constexpr int IDC_OPEN_AS_TEXT = 1051;
    static constexpr int IDC_OPEN_AS_BINARY = 1052;
    static constexpr int IDC_OPEN_ASK = 1053;
    static constexpr int IDC_ASCII = 1066;
    static constexpr int IDC_EBCDIC = 1067;

    explicit COptionsDlg(QWidget* parent = nullptr);
    ~COptionsDlg() override;

    // Takes the controls into the members, or refuses the count.
    void accept() override;

    // A radio button or check box by its identifier, or null.
    QAbstractButton* Button(int id) const;
    QLineEdit* ColumnsEdit() const { return m_pColumns; }
    QPushButton* OkButton() const { return m_pOk; }
    QPushButton* CancelButton() const { return m_pCancel; }

    bool m_bFixedColumns = false;
    int m_nAddressMode = -1;   // 0 "Hex", 1 "Decimal"
    unsigned m_nColumns = 0;   // bytes per row when m_bFixedColumns is set
    bool m_bShowUpper = false; // bytes 0x80-0xFF shown as characters
    int m_nOpenTextMode = -1;  // 0 open as text, 1 open as binary, 2 ask
    int m_nCharSet = -1;       // 0 ASCII, 1 EBCDIC

protected:
    bool OnInitDialog() override;

private:
    void OnFixedColumnsClicked();
    // Shows `text` and puts the focus back into the count.
    void RefuseCount(const QString& text);

    QButtonGroup* m_pAddress;
    QButtonGroup* m_pCharSet;
    QButtonGroup* m_pOpenText;
    QCheckBox* m_pShowUpper;
    QCheckBox* m_pFixed;
    QLineEdit* m_pColumns;
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
};
