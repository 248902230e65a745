#include "commands/CGoToDlg.h"

#include "commands/DialogButtons.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CGoToDlg::CGoToDlg(QWidget* parent)
    : CDialog(parent), m_pOffset(new QLineEdit(this)), m_pOrigins(new QButtonGroup(this)),
      m_pCaret(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Aller à"));
    m_pOffset->setObjectName(QStringLiteral("edit1010"));
    auto* offsetLabel = new QLabel(QStringLiteral("&Offset:\n(utiliser 0x... pour hex):"), this);
    offsetLabel->setBuddy(m_pOffset);

    auto* originBox = new QGroupBox(QStringLiteral("Position::"), this);
    auto* originLayout = new QVBoxLayout(originBox);
    const QString names[] = {QStringLiteral("&Début"), QStringLiteral("&Fin"),
                             QStringLiteral("&Curseur")};
    for (int origin = 0; origin < 3; ++origin) {
        auto* button = new QRadioButton(names[origin], originBox);
        button->setObjectName(QStringLiteral("radio%1").arg(1011 + origin));
        m_pOrigins->addButton(button, origin);
        originLayout->addWidget(button);
    }

    auto* caretBox = new QGroupBox(QStringLiteral("&Position du curseur:"), this);
    auto* caretLayout = new QVBoxLayout(caretBox);
    m_pCaret->setObjectName(QStringLiteral("edit1017"));
    m_pCaret->setReadOnly(true);
    m_pCaret->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pCaret->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pCaret->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Two lines, wide enough for "0x" and sixteen hexadecimal digits.
    const QFontMetrics metrics(m_pCaret->font());
    const int frame = 2 * (m_pCaret->frameWidth() + int(m_pCaret->document()->documentMargin()));
    m_pCaret->setFixedHeight(2 * metrics.lineSpacing() + frame);
    m_pCaret->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("0x0000000000000000")) +
                              frame);
    caretLayout->addWidget(m_pCaret);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(originBox);
    boxes->addWidget(caretBox);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(offsetLabel);
    layout->addWidget(m_pOffset);
    layout->addLayout(boxes);
    layout->addWidget(MakeOkCancelButtons(this));
}

CGoToDlg::~CGoToDlg() = default;

QRadioButton* CGoToDlg::OriginButton(int origin) const {
    return qobject_cast<QRadioButton*>(m_pOrigins->button(origin));
}

bool CGoToDlg::OnInitDialog() {
    m_pOffset->setText(m_strOffset);
    if (QAbstractButton* button = m_pOrigins->button(m_nOrigin))
        button->setChecked(true);
    m_pCaret->setPlainText(m_strCaret);
    m_pOffset->setFocus();
    m_pOffset->selectAll();
    return true;
}

void CGoToDlg::accept() {
    m_strOffset = m_pOffset->text();
    m_nOrigin = m_pOrigins->checkedId() < 0 ? 0 : m_pOrigins->checkedId();
    CDialog::accept();
}
