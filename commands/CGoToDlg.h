// Dialog 135, "Aller à": the offset to go to, what it counts from, and where
// the caret is now.
#pragma once

#include "framework/DialogRunner.h"

#include <QString>

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

class CGoToDlg : public CDialog {
    Q_OBJECT
public:
    explicit CGoToDlg(QWidget* parent = nullptr);
    ~CGoToDlg() override;

    // Takes the fields into the members.
    void accept() override;

    QLineEdit* OffsetEdit() const { return m_pOffset; }
    // 0 "&Début", 1 "&Fin", 2 "&Curseur".
    QRadioButton* OriginButton(int origin) const;
    QPlainTextEdit* CaretEdit() const { return m_pCaret; }

    int m_nOrigin = 0; // a GoToOrigin
    QString m_strOffset;
    QString m_strCaret;

protected:
    bool OnInitDialog() override;

private:
    QLineEdit* m_pOffset;
    QButtonGroup* m_pOrigins;
    QPlainTextEdit* m_pCaret;
};
