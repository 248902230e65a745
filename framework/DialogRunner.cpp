#include "framework/DialogRunner.h"

#include "framework/StdCommandIds.h"

#include <QApplication>
#include <QFileDialog>

namespace {

DialogRunner::ModalHandler& ModalHandlerSlot() {
    static DialogRunner::ModalHandler handler;
    return handler;
}

DialogRunner::FileHandler& FileHandlerSlot() {
    static DialogRunner::FileHandler handler;
    return handler;
}

} // namespace

int DialogRunner::RunModal(QDialog& dialog) {
    if (const ModalHandler& handler = ModalHandlerSlot())
        return handler(dialog);
    // A dialog opened from a long command shows the normal cursor.
    QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    const int result = dialog.exec();
    QApplication::restoreOverrideCursor();
    return result;
}

std::optional<QString> DialogRunner::PromptFileName(const FileDialogRequest& request) {
    if (const FileHandler& handler = FileHandlerSlot())
        return handler(request);
    QFileDialog dialog(QApplication::activeWindow(), request.m_strTitle);
    // "*.*" would hide every file without a dot here; "*" is what it means.
    QString filter = request.m_strFilter;
    filter.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    dialog.setNameFilter(filter);
    if (request.m_bOpen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.m_strFileName.isEmpty())
            dialog.selectFile(request.m_strFileName);
    }
    if (RunModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty())
        return std::nullopt;
    return files.front();
}

DialogRunner::ModalHandler DialogRunner::SetModalHandler(ModalHandler handler) {
    ModalHandler previous = std::move(ModalHandlerSlot());
    ModalHandlerSlot() = std::move(handler);
    return previous;
}

DialogRunner::FileHandler DialogRunner::SetFileHandler(FileHandler handler) {
    FileHandler previous = std::move(FileHandlerSlot());
    FileHandlerSlot() = std::move(handler);
    return previous;
}

int CDialog::DoModal() {
    OnInitDialog();
    return DialogRunner::RunModal(*this) == QDialog::Accepted ? IDOK : IDCANCEL;
}
