// Progress of a long operation (search, replace all, save, print). Nothing
// shows for the first half second; after that a dialog gives the progress and a
// Cancel button. Escape cancels at any time, as the Cancel button does. While
// the operation runs, the event loop keeps the windows painted, but input to
// anything other than the progress dialog is held back, so the user cannot
// edit the document under the operation.
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
    void SetLabel(const QString& label);

    // The dialog, once shown (tests click its Cancel button).
    QProgressDialog* Dialog() const { return m_dialog; }

    // Test hooks: the delay before the dialog shows (negative restores the
    // default), and a function called after each turn of the event loop.
    static void SetDelayForTests(int milliseconds);
    using Observer = std::function<void(CProgress&)>;
    static Observer SetObserverForTests(Observer observer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowDialog();
    void RunEvents();

    QString m_strLabel;
    QWidget* m_parent;
    QElapsedTimer m_clock;
    qint64 m_nLastEvents = 0;
    QPointer<QProgressDialog> m_dialog;
    bool m_bCancelled = false;
    int m_nPermille = 0;
};
