// Dialog 142, "Remplacer": the bytes to find and the bytes to put in their
// place, each as text or hex; find next, replace one, replace all in the whole
// file or in the selection. The dialog acts on the view's document itself.
#pragma once

#include "framework/DialogRunner.h"
#include "storage/ByteString.h"

#include <cstdint>

class CHexGridWnd;
class CHexTextSync;
class CQuexoDoc;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CReplaceDlg : public CDialog {
    Q_OBJECT
public:
    CReplaceDlg(CQuexoDoc& doc, CHexGridWnd& grid, int charSet, QWidget* parent = nullptr);
    ~CReplaceDlg() override;

    // The buttons' work: find next (1060), replace one (1061), replace all (1062).
    void OnFindNext();
    void ReplaceWorker(bool all);

    QLineEdit* FindTextEdit() const { return m_pFindText; }
    QLineEdit* FindHexEdit() const { return m_pFindHex; }
    QLineEdit* ReplaceTextEdit() const { return m_pReplaceText; }
    QLineEdit* ReplaceHexEdit() const { return m_pReplaceHex; }
    QCheckBox* MatchCaseBox() const { return m_pMatchCase; }
    // 0 "&Selection", 1 "Fichier &Intégral".
    QRadioButton* ScopeButton(int scope) const;
    QPushButton* FindNextButton() const { return m_pFindNext; }
    QPushButton* ReplaceButton() const { return m_pReplace; }
    QPushButton* ReplaceAllButton() const { return m_pReplaceAll; }
    QPushButton* CancelButton() const { return m_pCancel; }

    int m_nScope = -1; // 0 selection, 1 whole file
    int m_bMatchCase = 0;
    CByteString m_findBytes;
    int m_bWarnSize = 1; // ask before replacing with bytes of another length

protected:
    bool OnInitDialog() override;

private:
    void UpdateData();
    void OnScopeClicked(int scope);
    // Shows the refusal of empty find bytes; true when they are empty.
    bool RefuseEmptyFind() const;

    CQuexoDoc& m_doc;
    CHexGridWnd& m_grid;
    QLineEdit* m_pFindText;
    QLineEdit* m_pFindHex;
    QLineEdit* m_pReplaceText;
    QLineEdit* m_pReplaceHex;
    QCheckBox* m_pMatchCase;
    QRadioButton* m_pSelection;
    QRadioButton* m_pWholeFile;
    QPushButton* m_pFindNext;
    QPushButton* m_pReplace;
    QPushButton* m_pReplaceAll;
    QPushButton* m_pCancel;
    CHexTextSync* m_pFindSync;
    CHexTextSync* m_pReplaceSync;
    CByteString m_replaceBytes;
};
