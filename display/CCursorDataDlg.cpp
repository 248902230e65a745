#include "display/CCursorDataDlg.h"

#include "display/ViewCommandIds.h"
#include "framework/CCmdUI.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const kLabels[] = {"Octet:", "Bref:", "Allongé:", "Bouchon:", "Double:"};
// The widest text a field shows: a 32-bit value with its signed reading.
const char* const kWidestValue = "4294967295 (-2147483648)";

} // namespace

CCursorDataDlg::CCursorDataDlg(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         // Clicks reach its buttons, but the keyboard stays with
                         // the document: a window manager may refuse to hand the
                         // focus back once a click has given it away.
                         Qt::WindowDoesNotAcceptFocus) {
    setWindowTitle(QStringLiteral("Données du curseur"));
    setObjectName(QStringLiteral("dialog141"));

    auto* layout = new QVBoxLayout(this);
    auto* orderRow = new QHBoxLayout;
    m_pLittle = new QRadioButton(QStringLiteral("Petit"), this);
    m_pBig = new QRadioButton(QStringLiteral("Gros Endian"), this);
    m_pLittle->setObjectName(QStringLiteral("radio1037"));
    m_pBig->setObjectName(QStringLiteral("radio1038"));
    // The buttons only choose the order; the keyboard stays with the document.
    m_pLittle->setFocusPolicy(Qt::NoFocus);
    m_pBig->setFocusPolicy(Qt::NoFocus);
    m_pOrderGroup = new QButtonGroup(this);
    m_pOrderGroup->addButton(m_pLittle, 0);
    m_pOrderGroup->addButton(m_pBig, 1);
    m_pLittle->setChecked(m_nByteOrder == 0);
    m_pBig->setChecked(m_nByteOrder != 0);
    orderRow->addWidget(m_pLittle);
    orderRow->addWidget(m_pBig);
    orderRow->addStretch();
    layout->addLayout(orderRow);

    auto* form = new QFormLayout;
    const int width = QFontMetrics(font()).horizontalAdvance(QLatin1String(kWidestValue)) + 16;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        edit->setEnabled(false);
        edit->setMinimumWidth(width);
        edit->setObjectName(QStringLiteral("edit%1").arg(IDC_CURSOR_BYTE + i));
        form->addRow(QString::fromUtf8(kLabels[i]), edit);
        m_fields[i] = edit;
    }
    layout->addLayout(form);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_pOrderGroup, &QButtonGroup::idClicked, this, &CCursorDataDlg::OnByteOrder);
}

QLineEdit* CCursorDataDlg::Field(unsigned id) const {
    if (id < IDC_CURSOR_BYTE || id > IDC_CURSOR_DOUBLE)
        return nullptr;
    return m_fields[id - IDC_CURSOR_BYTE];
}

QRadioButton* CCursorDataDlg::OrderButton(unsigned id) const {
    return id == IDC_LITTLE_ENDIAN ? m_pLittle : id == IDC_BIG_ENDIAN ? m_pBig : nullptr;
}

void CCursorDataDlg::OnIdleUpdateCmdUI() {
    CWinApp* app = AfxGetApp();
    for (unsigned id = IDC_CURSOR_BYTE; id <= IDC_CURSOR_DOUBLE; ++id) {
        QLineEdit* edit = Field(id);
        CCmdUI ui(id, m_nByteOrder);
        if (app)
            app->UpdateCmdUI(&ui, false);
        if (app && ui.m_bEnableChanged && ui.m_bEnabled) {
            if (ui.m_text && edit->text() != *ui.m_text)
                edit->setText(*ui.m_text);
            edit->setEnabled(true);
        } else {
            edit->clear();
            edit->setEnabled(false);
        }
    }
}

void CCursorDataDlg::OnByteOrder(int order) {
    m_nByteOrder = order;
    OnIdleUpdateCmdUI();
    // Back to the document, so typing goes on where it was.
    QWidget* owner = parentWidget();
    if (!owner)
        return;
    owner->activateWindow();
    if (auto* frame = qobject_cast<CMDIFrameWnd*>(owner))
        if (CMDIChildWnd* child = frame->MDIGetActive())
            if (CView* view = child->GetActiveView())
                view->setFocus();
}
