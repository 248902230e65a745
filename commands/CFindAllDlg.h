// "Rechercher tout": the bytes to look for, typed as text or as hex, case
// matching, and where: the whole file or the selection.
#pragma once

#include "framework/DialogRunner.h"
#include "storage/ByteString.h"

class CHexTextSync;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class CFindAllDlg : public CDialog {
    Q_OBJECT
public:
    // charSet is the view's: in EBCDIC the text stands for its EBCDIC codes.
    // Without a selection only the whole file can be searched.
    CFindAllDlg(int charSet, bool hasSelection, QWidget* parent = nullptr);
    ~CFindAllDlg() override;

    void accept() override;

    QLineEdit* TextEdit() const { return m_pText; }
    QLineEdit* HexEdit() const { return m_pHex; }
    QCheckBox* MatchCaseBox() const { return m_pMatchCase; }
    // 0 "Fichier &entier", 1 "&Sélection".
    QRadioButton* ScopeButton(int scope) const;

    CByteString m_strBytes; // shown when the dialog opens, read back on OK
    bool m_bMatchCase = false;
    int m_nScope = 0; // 0 the whole file, 1 the selection

protected:
    bool OnInitDialog() override;

private:
    QLineEdit* m_pText;
    QLineEdit* m_pHex;
    QCheckBox* m_pMatchCase;
    QRadioButton* m_pWholeFile;
    QRadioButton* m_pSelection;
    CHexTextSync* m_pSync;
};
