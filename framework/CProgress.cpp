#include "framework/CProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressDialog>

namespace {
constexpr int kDefaultDelayMs = 500;
// How often the event loop runs while the operation goes on.
constexpr qint64 kEventIntervalMs = 40;

int g_nDelayMs = kDefaultDelayMs;
CProgress::Observer g_observer;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

bool IsInside(QObject* object, const QWidget* widget) {
    for (; object; object = object->parent())
        if (object == widget)
            return true;
    return false;
}
} // namespace

CProgress::CProgress(QString label, QWidget* parent)
    : m_strLabel(std::move(label)), m_parent(parent) {
    m_clock.start();
    qApp->installEventFilter(this);
}

CProgress::~CProgress() {
    qApp->removeEventFilter(this);
    delete m_dialog;
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
    if (m_dialog)
        m_dialog->setValue(m_nPermille);
    RunEvents();
    if (g_observer)
        g_observer(*this);
    if (m_dialog && m_dialog->wasCanceled())
        m_bCancelled = true;
    return m_bCancelled;
}

void CProgress::ShowDialog() {
    auto* dialog = new QProgressDialog(m_strLabel, QStringLiteral("Annuler"), 0, 1000, m_parent);
    dialog->setWindowTitle(QStringLiteral("QuexoPro"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setValue(m_nPermille);
    dialog->show();
    m_dialog = dialog;
}

void CProgress::RunEvents() {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool CProgress::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_bCancelled = true;
        return true;
    }
    // Input for the progress dialog (its Cancel button) goes through; the
    // rest waits until the operation is over.
    if (IsUserInput(type) && !(m_dialog && IsInside(watched, m_dialog)))
        return true;
    return QObject::eventFilter(watched, event);
}
