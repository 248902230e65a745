#include "commands/CFindAllDlg.h"

#include "commands/CHexTextSync.h"
#include "commands/DialogButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindAllDlg::CFindAllDlg(int charSet, bool hasSelection, QWidget* parent)
    : CDialog(parent), m_pText(new QLineEdit(this)), m_pHex(new QLineEdit(this)),
      m_pMatchCase(new QCheckBox(QStringLiteral("&Assortir case"), this)),
      m_pSync(new CHexTextSync(*m_pText, *m_pHex, charSet)) {
    setWindowTitle(QStringLiteral("Rechercher tout"));
    m_pText->setObjectName(QStringLiteral("findAllText"));
    m_pHex->setObjectName(QStringLiteral("findAllHex"));
    m_pHex->setMinimumWidth(QFontMetrics(m_pHex->font()).horizontalAdvance(QLatin1Char('0')) * 48);

    auto* textLabel = new QLabel(QStringLiteral("&Texte:"), this);
    textLabel->setBuddy(m_pText);
    auto* hexLabel = new QLabel(QStringLiteral("&Hex:"), this);
    hexLabel->setBuddy(m_pHex);

    auto* scopeBox = new QGroupBox(QStringLiteral("Portée"), this);
    m_pWholeFile = new QRadioButton(QStringLiteral("Fichier &entier"), scopeBox);
    m_pSelection = new QRadioButton(QStringLiteral("&Sélection"), scopeBox);
    m_pSelection->setEnabled(hasSelection);
    auto* scopeLayout = new QHBoxLayout(scopeBox);
    scopeLayout->addWidget(m_pWholeFile);
    scopeLayout->addWidget(m_pSelection);

    auto* fields = new QGridLayout;
    fields->addWidget(textLabel, 0, 0);
    fields->addWidget(m_pText, 0, 1, 1, 2);
    fields->addWidget(hexLabel, 1, 0);
    fields->addWidget(m_pHex, 1, 1, 1, 2);
    fields->addWidget(m_pMatchCase, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    fields->addWidget(scopeBox, 2, 2);
    fields->setColumnStretch(1, 1);

    TabToTickedRadio({m_pWholeFile, m_pSelection});
    QDialogButtonBox* buttons = MakeOkCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
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
