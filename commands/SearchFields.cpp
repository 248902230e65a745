#include "commands/SearchFields.h"

#include "commands/CHexTextSync.h"
#include "commands/DialogButtons.h"

#include <QCheckBox>
#include <QDialog>
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

CSearchFields BuildSearchFields(QDialog& dialog, int charSet, const QString& groupTitle,
                                const QString& firstChoice, const QString& secondChoice) {
    CSearchFields f{};
    f.m_pText = new QLineEdit(&dialog);
    f.m_pHex = new QLineEdit(&dialog);
    f.m_pMatchCase = new QCheckBox(QStringLiteral("&Assortir case"), &dialog);
    f.m_pSync = new CHexTextSync(*f.m_pText, *f.m_pHex, charSet);
    // Room for a few dozen bytes of hex; longer searches scroll in the field.
    f.m_pHex->setMinimumWidth(QFontMetrics(f.m_pHex->font()).horizontalAdvance(QLatin1Char('0')) *
                              48);

    auto* textLabel = new QLabel(QStringLiteral("&Texte:"), &dialog);
    textLabel->setBuddy(f.m_pText);
    auto* hexLabel = new QLabel(QStringLiteral("&Hex:"), &dialog);
    hexLabel->setBuddy(f.m_pHex);

    auto* group = new QGroupBox(groupTitle, &dialog);
    f.m_pFirst = new QRadioButton(firstChoice, group);
    f.m_pSecond = new QRadioButton(secondChoice, group);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(f.m_pFirst);
    groupLayout->addWidget(f.m_pSecond);

    auto* fields = new QGridLayout;
    fields->addWidget(textLabel, 0, 0);
    fields->addWidget(f.m_pText, 0, 1, 1, 2);
    fields->addWidget(hexLabel, 1, 0);
    fields->addWidget(f.m_pHex, 1, 1, 1, 2);
    fields->addWidget(f.m_pMatchCase, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    fields->addWidget(group, 2, 2);
    fields->setColumnStretch(1, 1);

    TabToTickedRadio({f.m_pFirst, f.m_pSecond});
    f.m_pButtons = MakeOkCancelButtons(&dialog);
    QPushButton* ok = f.m_pButtons->button(QDialogButtonBox::Ok);
    QPushButton* cancel = f.m_pButtons->button(QDialogButtonBox::Cancel);
    ok->setObjectName(QStringLiteral("button1"));
    cancel->setObjectName(QStringLiteral("button2"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(fields);
    layout->addWidget(f.m_pButtons);

    // Text, hex, case, the two choices, OK, Cancel.
    QWidget::setTabOrder(f.m_pText, f.m_pHex);
    QWidget::setTabOrder(f.m_pHex, f.m_pMatchCase);
    QWidget::setTabOrder(f.m_pMatchCase, f.m_pFirst);
    QWidget::setTabOrder(f.m_pFirst, f.m_pSecond);
    QWidget::setTabOrder(f.m_pSecond, ok);
    QWidget::setTabOrder(ok, cancel);
    return f;
}
