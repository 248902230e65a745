// Every modal dialog runs through here, so tests can drive dialogs without
// showing them (DialogScript). File dialogs have their own entry: a test
// answers them with a path.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

struct FileDialogRequest {
    bool m_bOpen = true;   // open dialog, else save dialog
    QString m_strTitle;    // "Ouvrir...", "Savegarder sous..."
    QString m_strFilter;   // "Tous les Fichiers (*.*)"
    QString m_strFileName; // initial name (save dialog)
};

class DialogRunner {
public:
    // Returns QDialog::Accepted or QDialog::Rejected.
    using ModalHandler = std::function<int(QDialog&)>;
    // The chosen path, or nothing when the user cancelled.
    using FileHandler = std::function<std::optional<QString>(const FileDialogRequest&)>;

    static int RunModal(QDialog& dialog);
    static std::optional<QString> PromptFileName(const FileDialogRequest& request);

    // Replace the handlers (null restores the real dialogs); return the previous.
    static ModalHandler SetModalHandler(ModalHandler handler);
    static FileHandler SetFileHandler(FileHandler handler);
};

// A modal dialog of the program: DoModal runs OnInitDialog, then the dialog
// through the runner, and answers IDOK or IDCANCEL.
class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(QWidget* parent = nullptr) : QDialog(parent) {}
    virtual int DoModal();

protected:
    virtual bool OnInitDialog() { return true; }
};
