#include "display/COptionsDlg.h"

#include "display/OptionsLogic.h"
#include "framework/Prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Tab enters a radio group on its ticked button (the first when none is
// ticked); the arrow keys move within the group.
void FollowTickedButton(QButtonGroup* group) {
    QAbstractButton* target = group->checkedButton();
    const QList<QAbstractButton*> buttons = group->buttons();
    if (!target && !buttons.isEmpty())
        target = buttons.front();
    for (QAbstractButton* button : buttons)
        button->setFocusPolicy(button == target ? Qt::StrongFocus : Qt::ClickFocus);
}

// A group box of radio buttons numbered from `firstId`; the buttons' ids in
// `group` are 0, 1, ... in their order.
QGroupBox* RadioGroup(QWidget* parent, const QString& title, QButtonGroup* group, int firstId,
                      const QStringList& texts, QList<QWidget*>& tabOrder) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < texts.size(); ++i) {
        auto* button = new QRadioButton(texts[i], box);
        button->setObjectName(QStringLiteral("radio%1").arg(firstId + i));
        group->addButton(button, i);
        layout->addWidget(button);
        tabOrder.append(button);
    }
    QObject::connect(group, &QButtonGroup::buttonToggled, group,
                     [group] { FollowTickedButton(group); });
    FollowTickedButton(group);
    return box;
}

void CheckById(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    // A value no button names leaves the whole group unticked.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

COptionsDlg::COptionsDlg(QWidget* parent)
    : CDialog(parent), m_pAddress(new QButtonGroup(this)), m_pCharSet(new QButtonGroup(this)),
      m_pOpenText(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("dialog133"));
    setWindowTitle(QStringLiteral("Options"));
    QList<QWidget*> tabOrder;

    QGroupBox* address = RadioGroup(this, QStringLiteral("&Adresse"), m_pAddress, IDC_HEX,
                                    {QStringLiteral("Hex"), QStringLiteral("Decimal")}, tabOrder);
    QGroupBox* charSet =
        RadioGroup(this, QStringLiteral("Lot de &Caractère"), m_pCharSet, IDC_ASCII,
                   {QStringLiteral("ASCII"), QStringLiteral("EBCDIC")}, tabOrder);

    m_pShowUpper = new QCheckBox(QStringLiteral("&Montrer Caractère 0x80 - 0xff"), this);
    m_pShowUpper->setObjectName(QStringLiteral("check%1").arg(IDC_SHOW_UPPER));
    m_pFixed = new QCheckBox(QStringLiteral("&Fixer colonne :"), this);
    m_pFixed->setObjectName(QStringLiteral("check%1").arg(IDC_FIXED_COLUMNS));
    m_pColumns = new QLineEdit(this);
    m_pColumns->setObjectName(QStringLiteral("edit%1").arg(IDC_COLUMNS));
    // Room for three digits and a little more; the field does not stretch.
    m_pColumns->setMaximumWidth(
        m_pColumns->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 24);
    tabOrder << m_pShowUpper << m_pFixed << m_pColumns;
    connect(m_pFixed, &QCheckBox::clicked, this, [this] { OnFixedColumnsClicked(); });

    QGroupBox* openText = RadioGroup(
        this, QStringLiteral("Sur Ouvrir &Fichier texte "), m_pOpenText, IDC_OPEN_AS_TEXT,
        {QStringLiteral("Ouvrir comme Texte"), QStringLiteral("Ouvrir en binaire"),
         QStringLiteral("Demander")},
        tabOrder);
    auto* note = new QLabel(QStringLiteral("Pour configurer votre éditeur texte , ouvrez "
                                           "l'explorateur, choisissez Affichage Options Types "
                                           "de Fichiers, Document Texte."),
                            this);
    note->setWordWrap(true);
    openText->layout()->addWidget(note);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    m_pOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_pOk->setObjectName(QStringLiteral("button1"));
    m_pOk->setDefault(true);
    m_pCancel = buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    m_pCancel->setObjectName(QStringLiteral("button2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);
    tabOrder << m_pOk << m_pCancel;

    // Left: the display choices; right: the text-file choice; OK and Annuler
    // down the right edge.
    auto* fixedRow = new QHBoxLayout;
    fixedRow->addWidget(m_pFixed);
    fixedRow->addWidget(m_pColumns);
    fixedRow->addStretch();
    auto* left = new QVBoxLayout;
    auto* radios = new QHBoxLayout;
    radios->addWidget(address);
    radios->addWidget(charSet);
    left->addLayout(radios);
    left->addWidget(m_pShowUpper);
    left->addLayout(fixedRow);
    left->addStretch();
    openText->setMinimumWidth(260);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(openText);
    layout->addWidget(buttons, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

COptionsDlg::~COptionsDlg() = default;

QAbstractButton* COptionsDlg::Button(int id) const {
    switch (id) {
    case IDC_SHOW_UPPER:
        return m_pShowUpper;
    case IDC_FIXED_COLUMNS:
        return m_pFixed;
    default:
        break;
    }
    if (id >= IDC_HEX && id <= IDC_DECIMAL)
        return m_pAddress->button(id - IDC_HEX);
    if (id >= IDC_ASCII && id <= IDC_EBCDIC)
        return m_pCharSet->button(id - IDC_ASCII);
    if (id >= IDC_OPEN_AS_TEXT && id <= IDC_OPEN_ASK)
        return m_pOpenText->button(id - IDC_OPEN_AS_TEXT);
    return nullptr;
}

bool COptionsDlg::OnInitDialog() {
    m_pFixed->setChecked(m_bFixedColumns);
    CheckById(m_pAddress, m_nAddressMode);
    m_pColumns->setText(QString::number(m_nColumns));
    m_pShowUpper->setChecked(m_bShowUpper);
    CheckById(m_pOpenText, m_nOpenTextMode);
    CheckById(m_pCharSet, m_nCharSet);
    m_pColumns->setEnabled(m_bFixedColumns);
    if (QAbstractButton* first = m_pAddress->checkedButton())
        first->setFocus();
    return true;
}

void COptionsDlg::OnFixedColumnsClicked() {
    if (m_pFixed->isChecked()) {
        m_pColumns->setEnabled(true);
        m_pColumns->setText(QStringLiteral("1"));
        m_pColumns->setFocus();
        m_pColumns->selectAll();
    } else {
        m_pColumns->setEnabled(false);
        m_pColumns->setText(QStringLiteral("0"));
    }
}

void COptionsDlg::RefuseCount(const QString& text) {
    AfxMessageBox(text, MB_OK);
    m_pColumns->setFocus();
    m_pColumns->selectAll();
}

void COptionsDlg::accept() {
    const std::optional<unsigned> count = ParseColumnCount(m_pColumns->text().toStdString());
    if (!count) {
        RefuseCount(QString::fromStdString(NotAPositiveIntegerMessage()));
        return;
    }
    if (m_pFixed->isChecked() && *count > kMaxFixedColumns) {
        RefuseCount(QString::fromStdString(TooManyColumnsMessage()));
        return;
    }
    m_bFixedColumns = m_pFixed->isChecked();
    m_nAddressMode = m_pAddress->checkedId();
    m_nColumns = *count;
    m_bShowUpper = m_pShowUpper->isChecked();
    m_nOpenTextMode = m_pOpenText->checkedId();
    m_nCharSet = m_pCharSet->checkedId();
    CDialog::accept();
}
