#include "commands/CFindAllDlg.h"

#include "commands/CHexTextSync.h"
#include "commands/SearchFields.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

CFindAllDlg::CFindAllDlg(int charSet, bool hasSelection, QWidget* parent) : CDialog(parent) {
    setWindowTitle(QStringLiteral("Rechercher tout"));
    const CSearchFields fields =
        BuildSearchFields(*this, charSet, QStringLiteral("Portée"),
                          QStringLiteral("Fichier &entier"), QStringLiteral("&Sélection"));
    m_pText = fields.m_pText;
    m_pHex = fields.m_pHex;
    m_pMatchCase = fields.m_pMatchCase;
    m_pWholeFile = fields.m_pFirst;
    m_pSelection = fields.m_pSecond;
    m_pSync = fields.m_pSync;
    m_pText->setObjectName(QStringLiteral("findAllText"));
    m_pHex->setObjectName(QStringLiteral("findAllHex"));
    m_pSelection->setEnabled(hasSelection);
}

CFindAllDlg::~CFindAllDlg() = default;

QRadioButton* CFindAllDlg::ScopeButton(int scope) const {
    return scope == 0 ? m_pWholeFile : m_pSelection;
}

bool CFindAllDlg::OnInitDialog() {
    m_pSync->SetBytes(m_strBytes);
    m_pMatchCase->setChecked(m_bMatchCase);
    const bool selection = m_nScope == 1 && m_pSelection->isEnabled();
    (selection ? m_pSelection : m_pWholeFile)->setChecked(true);
    m_pText->setFocus();
    m_pText->selectAll();
    return true;
}

void CFindAllDlg::accept() {
    m_strBytes = m_pSync->GetBytes();
    m_bMatchCase = m_pMatchCase->isChecked();
    m_nScope = m_pSelection->isChecked() ? 1 : 0;
    CDialog::accept();
}
