#include "commands/CFindDlg.h"

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

CFindDlg::CFindDlg(int charSet, QWidget* parent)
    : CDialog(parent), m_pText(new QLineEdit(this)), m_pHex(new QLineEdit(this)),
      m_pMatchCase(new QCheckBox(QStringLiteral("&Assortir case"), this)),
      m_pSync(new CHexTextSync(*m_pText, *m_pHex, charSet)) {
    setWindowTitle(QStringLiteral("Trouver"));
    m_pText->setObjectName(QStringLiteral("edit1020"));
    m_pHex->setObjectName(QStringLiteral("edit1000"));
    m_pMatchCase->setObjectName(QStringLiteral("check1024"));
    // Room for a few dozen bytes of hex; longer searches scroll in the field.
    m_pHex->setMinimumWidth(QFontMetrics(m_pHex->font()).horizontalAdvance(QLatin1Char('0')) * 48);

    auto* textLabel = new QLabel(QStringLiteral("&Texte:"), this);
    textLabel->setBuddy(m_pText);
    auto* hexLabel = new QLabel(QStringLiteral("&Hex:"), this);
    hexLabel->setBuddy(m_pHex);

    auto* directionBox = new QGroupBox(QStringLiteral("Direction"), this);
    m_pUp = new QRadioButton(QStringLiteral("Vers le &Haut"), directionBox);
    m_pUp->setObjectName(QStringLiteral("radio1023"));
    m_pDown = new QRadioButton(QStringLiteral("Vers le &Bas"), directionBox);
    m_pDown->setObjectName(QStringLiteral("radio1022"));
    auto* directionLayout = new QHBoxLayout(directionBox);
    directionLayout->addWidget(m_pUp);
    directionLayout->addWidget(m_pDown);

    auto* fields = new QGridLayout;
    fields->addWidget(textLabel, 0, 0);
    fields->addWidget(m_pText, 0, 1, 1, 2);
    fields->addWidget(hexLabel, 1, 0);
    fields->addWidget(m_pHex, 1, 1, 1, 2);
    fields->addWidget(m_pMatchCase, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    fields->addWidget(directionBox, 2, 2);
    fields->setColumnStretch(1, 1);

    TabToTickedRadio({m_pUp, m_pDown});
    QDialogButtonBox* buttons = MakeOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("button1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("button2"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    // Text, hex, case, direction, OK, Cancel.
    setTabOrder(m_pText, m_pHex);
    setTabOrder(m_pHex, m_pMatchCase);
    setTabOrder(m_pMatchCase, m_pUp);
    setTabOrder(m_pUp, m_pDown);
    setTabOrder(m_pDown, buttons->button(QDialogButtonBox::Ok));
    setTabOrder(buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel));
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
