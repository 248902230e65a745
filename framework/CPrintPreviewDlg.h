// Print preview: the pages on a preview widget, with a toolbar of its own
// (print, previous and next page, zoom, close), a line with the page number,
// and the keys Page Up, Page Down and Escape. It renders the pages it is given
// when the preview is updated; PreviewView gives it at most kMaxPreviewPages
// and says so on that line.
#pragma once

#include <QDialog>

#include <cstdint>

class QAction;
class QKeyEvent;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

class CPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    // The result of exec() when the user asked to print.
    static constexpr int kPrint = 2;

    explicit CPrintPreviewDlg(QPrinter* printer, QWidget* parent = nullptr);

    QPrintPreviewWidget* Preview() const { return m_preview; }
    // The pages of the whole job, when more than the preview shows.
    void SetTotalPages(std::int64_t pages);
    QString PageText() const;
    void NextPage();
    void PreviousPage();

signals:
    void paintRequested(QPrinter* printer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdatePageText();

    QPrintPreviewWidget* m_preview;
    QLabel* m_pageLabel;
    std::int64_t m_nTotalPages = 0;
};
