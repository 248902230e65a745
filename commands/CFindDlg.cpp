#include "commands/CFindDlg.h"

#include "commands/CHexTextSync.h"
#include "commands/SearchFields.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

CFindDlg::CFindDlg(int charSet, QWidget* parent) : CDialog(parent) {
    setWindowTitle(QStringLiteral("Trouver"));
    const CSearchFields fields =
        BuildSearchFields(*this, charSet, QStringLiteral("Direction"),
                          QStringLiteral("Vers le &Haut"), QStringLiteral("Vers le &Bas"));
    m_pText = fields.m_pText;
    m_pHex = fields.m_pHex;
    m_pMatchCase = fields.m_pMatchCase;
    m_pUp = fields.m_pFirst;
    m_pDown = fields.m_pSecond;
    m_pSync = fields.m_pSync;
    m_pText->setObjectName(QStringLiteral("edit1020"));
    m_pHex->setObjectName(QStringLiteral("edit1000"));
    m_pMatchCase->setObjectName(QStringLiteral("check1024"));
    m_pUp->setObjectName(QStringLiteral("radio1023"));
    m_pDown->setObjectName(QStringLiteral("radio1022"));
}

CFindDlg::~CFindDlg() = default;

QRadioButton* CFindDlg::DirectionButton(int direction) const {
    return direction == 0 ? m_pUp : m_pDown;
}

bool CFindDlg::OnInitDialog() {
    m_pSync->SetBytes(m_strBytes);
    m_pMatchCase->setChecked(m_bMatchCase);
    (m_nDirection == 0 ? m_pUp : m_pDown)->setChecked(true);
    m_pText->setFocus();
    m_pText->selectAll();
    return true;
}

void CFindDlg::accept() {
    m_strBytes = m_pSync->GetBytes();
    m_bMatchCase = m_pMatchCase->isChecked();
    m_nDirection = m_pUp->isChecked() ? 0 : 1;
    CDialog::accept();
}
