#include "framework/DialogScript.h"

DialogScript::DialogScript() {
    m_previousModal = DialogRunner::SetModalHandler([this](QDialog& dialog) {
        if (m_steps.empty()) {
            ++m_nUnexpected;
            return int(QDialog::Rejected);
        }
        const DialogRunner::ModalHandler step = std::move(m_steps.front());
        m_steps.pop_front();
        return step(dialog);
    });
    m_previousFile = DialogRunner::SetFileHandler([this](const FileDialogRequest& request) {
        m_fileRequests.push_back(request);
        if (m_files.empty()) {
            ++m_nUnexpected;
            return std::optional<QString>();
        }
        const FileAnswer answer = m_files.front();
        m_files.pop_front();
        return answer.m_bChosen ? std::optional<QString>(answer.m_strPath)
                                : std::optional<QString>();
    });
}

DialogScript::~DialogScript() {
    DialogRunner::SetModalHandler(std::move(m_previousModal));
    DialogRunner::SetFileHandler(std::move(m_previousFile));
}
