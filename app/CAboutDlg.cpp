#include "app/CAboutDlg.h"

#include "app/ProgramIcon.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(parent), m_pVersion(new QLabel(this)) {
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("A propos de Quexo"));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    // The template's text; the build's version replaces it at initialisation.
    m_pVersion->setText(QStringLiteral("2.0"));
    m_pVersion->setObjectName(QLatin1String(kVersionFieldName));
    m_pVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("Quexo Pro Version"), this), 0, 1);
    layout->addWidget(m_pVersion, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("Tavrin Software"), this), 1, 1, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The file version of the program: the build's own.
    const QString version = QStringLiteral(QUEXO_VERSION);
    if (!version.isEmpty())
        m_pVersion->setText(version);
    return true;
}
