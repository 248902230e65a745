#include "framework/CProgress.h"

#include <QApplication>
#include <QCursor>
#include <QProgressDialog>

#include <algorithm>

namespace {
constexpr int kDefaultDelayMs = 500;
// How often the event loop runs while the operation goes on.
constexpr qint64 kEventIntervalMs = 40;

int g_nDelayMs = kDefaultDelayMs;
CProgress::Observer g_observer;
CProgress* g_pCurrent = nullptr;

// A progress dialog that stays up when cancelled: it hides only when the
// operation ends, so its modality keeps the other windows out of reach until
// then. Qt's own dialog hides on Cancel, Escape or close, and input queued
// behind the click would reach the document before the operation stops.
class CProgressDialog : public QProgressDialog {
public:
    CProgressDialog(const QString& label, QWidget* parent)
        : QProgressDialog(label, QStringLiteral("Annuler"), 0, 1000, parent) {
        QObject::disconnect(this, &QProgressDialog::canceled, this, nullptr);
    }
    // Escape and the close button end here.
    void reject() override { emit canceled(); }
};
} // namespace

CProgress::CProgress(QString label, QWidget* parent)
    : m_strLabel(std::move(label)), m_parent(parent), m_pOuter(g_pCurrent) {
    g_pCurrent = this;
    m_clock.start();
}

CProgress::~CProgress() {
    g_pCurrent = m_pOuter;
    delete m_dialog;
    if (m_bArrowCursor)
        QApplication::restoreOverrideCursor();
}

CProgress* CProgress::Current() {
    return g_pCurrent;
}

void CProgress::SetDelayForTests(int milliseconds) {
    g_nDelayMs = milliseconds < 0 ? kDefaultDelayMs : milliseconds;
}

CProgress::Observer CProgress::SetObserverForTests(Observer observer) {
    std::swap(g_observer, observer);
    return observer;
}

void CProgress::SetLabel(const QString& label) {
    m_strLabel = label;
    if (m_dialog)
        m_dialog->setLabelText(label);
}

bool CProgress::Step(std::int64_t done, std::int64_t total) {
    if (total > 0 && done >= 0)
        m_nPermille = static_cast<int>(std::min<std::int64_t>(1000, done / (total / 1000 + 1)));
    return Step();
}

bool CProgress::Step() {
    if (m_bCancelled)
        return true;
    const qint64 now = m_clock.elapsed();
    if (now - m_nLastEvents < kEventIntervalMs && g_nDelayMs > 0)
        return false;
    m_nLastEvents = now;
    if (!m_dialog && now >= g_nDelayMs)
        ShowDialog();
    if (m_dialog) {
        m_dialog->setValue(m_nPermille);
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    } else {
        // Before the dialog is up nothing blocks the other windows: they
        // repaint, and their input waits in the queue.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
    if (g_observer)
        g_observer(*this);
    if (m_dialog && m_dialog->wasCanceled())
        m_bCancelled = true;
    return m_bCancelled;
}

void CProgress::ShowDialog() {
    auto* dialog = new CProgressDialog(m_strLabel, m_parent);
    dialog->setWindowTitle(QStringLiteral("QuexoPro"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    connect(dialog, &QProgressDialog::canceled, this, [this] { m_bCancelled = true; });
    dialog->setValue(m_nPermille);
    dialog->show();
    m_dialog = dialog;
    // The caller's wait cursor would hide that the dialog takes clicks.
    QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    m_bArrowCursor = true;
}
