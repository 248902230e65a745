// Dialog 136, "Trouver": the bytes to look for, typed as text or as hex, case
// matching and direction.
#pragma once

#include "framework/DialogRunner.h"
#include "storage/ByteString.h"

class CHexTextSync;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class CFindDlg : public CDialog {
    Q_OBJECT
public:
    // charSet is the view's: in EBCDIC the text stands for its EBCDIC codes.
    explicit CFindDlg(int charSet, QWidget* parent = nullptr);
    ~CFindDlg() override;

    // Takes the fields into the members.
    void accept() override;

    QLineEdit* TextEdit() const { return m_pText; }
    QLineEdit* HexEdit() const { return m_pHex; }
    QCheckBox* MatchCaseBox() const { return m_pMatchCase; }
    // 0 "Vers le &Haut", 1 "Vers le &Bas".
    QRadioButton* DirectionButton(int direction) const;

    CByteString m_strBytes; // shown when the dialog opens, read back on OK
    bool m_bMatchCase = false;
    int m_nDirection = 1; // 0 up, 1 down

protected:
    bool OnInitDialog() override;

private:
    QLineEdit* m_pText;
    QLineEdit* m_pHex;
    QCheckBox* m_pMatchCase;
    QRadioButton* m_pUp;
    QRadioButton* m_pDown;
    CHexTextSync* m_pSync;
};
