// Dialog 142, "Remplacer": the bytes to find and the bytes to put in their
// place, each as text or hex; find next, replace one, replace all in the whole
// file or in the selection. The dialog acts on the view's document itself.
#pragma once

#include "framework/DialogRunner.h"
#include "storage/ByteString.h"

#include <cstdint>

class CHexTextSync;
class CQuexoDoc;
class IHexView;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Where "Remplacer Tous" replaces; the values are the radio group's order.
enum class ReplaceScope { Selection = 0, WholeFile = 1 };

class CReplaceDlg : public CDialog {
    Q_OBJECT
public:
    CReplaceDlg(CQuexoDoc& doc, IHexView& view, int charSet, QWidget* parent = nullptr);
    ~CReplaceDlg() override;

    // The buttons' work: find next (1060), replace one (1061), replace all (1062).
    void OnFindNext();
    void ReplaceWorker(bool all);

    QLineEdit* FindTextEdit() const { return m_pFindText; }
    QLineEdit* FindHexEdit() const { return m_pFindHex; }
    QLineEdit* ReplaceTextEdit() const { return m_pReplaceText; }
    QLineEdit* ReplaceHexEdit() const { return m_pReplaceHex; }
    QCheckBox* MatchCaseBox() const { return m_pMatchCase; }
    // "&Selection" or "Fichier &Intégral".
    QRadioButton* ScopeButton(ReplaceScope scope) const;
    QPushButton* FindNextButton() const { return m_pFindNext; }
    QPushButton* ReplaceButton() const { return m_pReplace; }
    QPushButton* ReplaceAllButton() const { return m_pReplaceAll; }
    QPushButton* CancelButton() const { return m_pCancel; }

    ReplaceScope m_nScope = ReplaceScope::WholeFile;
    bool m_bMatchCase = false;
    CByteString m_findBytes;
    bool m_bWarnSize = true; // ask before replacing with bytes of another length

protected:
    bool OnInitDialog() override;

private:
    void UpdateData();
    void OnScopeClicked(ReplaceScope scope);
    // Shows the refusal of empty find bytes; true when they are empty.
    bool RefuseEmptyFind() const;

    CQuexoDoc& m_doc;
    IHexView& m_view;
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
