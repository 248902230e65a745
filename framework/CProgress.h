// Progress of a long operation (search, replace all, save, print). Nothing
// shows for the first half second; after that an application-modal dialog
// gives the progress with an "Annuler" button. Qt's own modality keeps input
// away from the other windows while the operation runs on the GUI thread, so
// the document cannot be edited under it; the dialog itself, and any message
// box raised meanwhile, take clicks and keys as usual. The button, the dialog's
// close button and Escape all cancel.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <cstdint>
#include <functional>

class CProgress : public QObject {
    Q_OBJECT
public:
    explicit CProgress(QString label, QWidget* parent = nullptr);
    ~CProgress() override;
    CProgress(const CProgress&) = delete;
    CProgress& operator=(const CProgress&) = delete;

    // Reports that `done` of `total` is finished; returns true once the user has
    // cancelled. Cheap enough to call for every block of work: the clock is
    // read every time, the event loop run only every few tens of milliseconds.
    bool Step(std::int64_t done, std::int64_t total);
    // The same for work whose total is unknown; the label may say where it is.
    bool Step();
    bool Cancelled() const { return m_bCancelled; }
    // Cancels as the button does; the operation stops at its next step.
    void Cancel() { m_bCancelled = true; }
    void SetLabel(const QString& label);

    // The dialog, once shown.
    QProgressDialog* Dialog() const { return m_dialog; }

    // The innermost progress still running, or null: closing the main window
    // asks to cancel it rather than pulling the document from under it.
    static CProgress* Current();

    // Test hooks: the delay before the dialog shows (negative restores the
    // default), and a function called after each turn of the event loop.
    static void SetDelayForTests(int milliseconds);
    using Observer = std::function<void(CProgress&)>;
    static Observer SetObserverForTests(Observer observer);

private:
    void ShowDialog();

    QString m_strLabel;
    QWidget* m_parent;
    CProgress* m_pOuter;
    QElapsedTimer m_clock;
    qint64 m_nLastEvents = 0;
    QPointer<QProgressDialog> m_dialog;
    bool m_bArrowCursor = false;
    bool m_bCancelled = false;
    int m_nPermille = 0;
};
