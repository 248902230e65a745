#include "commands/CInsertDlg.h"

#include "commands/DialogButtons.h"
#include "commands/InsertDeleteTexts.h"
#include "framework/Prompt.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CInsertDlg::CInsertDlg(QWidget* parent)
    : CDialog(parent), m_pCount(new QLineEdit(this)), m_pValue(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Inserer"));
    m_pCount->setObjectName(QStringLiteral("edit1008"));
    m_pValue->setObjectName(QStringLiteral("edit1009"));

    auto* form = new QFormLayout;
    auto* countLabel = new QLabel(QStringLiteral("&Nombres d'octets:"), this);
    countLabel->setBuddy(m_pCount);
    form->addRow(countLabel, m_pCount);
    auto* valueLabel = new QLabel(QStringLiteral("&Valeur Initial:"), this);
    valueLabel->setBuddy(m_pValue);
    form->addRow(valueLabel, m_pValue);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeOkCancelButtons(this));
}

CInsertDlg::~CInsertDlg() = default;

bool CInsertDlg::OnInitDialog() {
    m_pCount->setText(QString::number(m_nCount));
    m_pValue->setText(QString::number(m_nValue));
    m_pCount->setFocus();
    m_pCount->selectAll();
    return true;
}

void CInsertDlg::accept() {
    const InsertDialogInput input =
        ValidateInsertDialog(m_pCount->text().toStdString(), m_pValue->text().toStdString());
    if (!input.ok) {
        AfxMessageBox(QString::fromStdString(input.message), MB_OK | MB_ICONEXCLAMATION);
        QLineEdit* faulty = input.faultyField == kInsertValueField ? m_pValue : m_pCount;
        faulty->setFocus();
        faulty->selectAll();
        return;
    }
    m_nCount = input.count;
    m_nValue = input.value;
    CDialog::accept();
}
