#include "framework/PromptScript.h"

PromptScript::PromptScript() {
    m_previous =
        PromptService::SetHandler([this](const PromptRequest& request) { return Handle(request); });
}

PromptScript::~PromptScript() {
    PromptService::SetHandler(std::move(m_previous));
}

int PromptScript::Handle(const PromptRequest& request) {
    m_shown.push_back(request);
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    if (request.m_nButtons == MB_OK)
        return IDOK;
    ++m_nUnexpected;
    return request.m_nButtons == MB_YESNO ? IDNO : IDCANCEL;
}
