// Test support: drives modal dialogs and file dialogs from queues. A dialog
// step gets the dialog (set its fields, then accept() or reject()) and returns
// the result; a file step is the path chosen, or nothing for Cancel. Dialogs
// beyond the queues are rejected and counted as unexpected.
#pragma once

#include "framework/DialogRunner.h"

#include <deque>
#include <vector>

class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& Then(DialogRunner::ModalHandler step) {
        m_steps.push_back(std::move(step));
        return *this;
    }
    DialogScript& ChooseFile(const QString& path) {
        m_files.push_back({true, path});
        return *this;
    }
    DialogScript& CancelFile() {
        m_files.push_back({false, QString()});
        return *this;
    }

    const std::vector<FileDialogRequest>& FileRequests() const { return m_fileRequests; }
    int Unexpected() const { return m_nUnexpected; }

private:
    DialogRunner::ModalHandler m_previousModal;
    DialogRunner::FileHandler m_previousFile;
    std::deque<DialogRunner::ModalHandler> m_steps;
    struct FileAnswer {
        bool m_bChosen;
        QString m_strPath;
    };
    std::deque<FileAnswer> m_files;
    std::vector<FileDialogRequest> m_fileRequests;
    int m_nUnexpected = 0;
};
