// Test support: answers prompts from a queue and records every prompt shown,
// so no test ever waits on a message box. Prompts beyond the queue get OK for
// OK boxes and Cancel (No where there is no Cancel) for questions, and count
// as unexpected.
#pragma once

#include "framework/Prompt.h"

#include <deque>
#include <vector>

class PromptScript {
public:
    PromptScript();
    ~PromptScript();
    PromptScript(const PromptScript&) = delete;
    PromptScript& operator=(const PromptScript&) = delete;

    PromptScript& Answer(int answer) {
        m_answers.push_back(answer);
        return *this;
    }

    const std::vector<PromptRequest>& Shown() const { return m_shown; }
    int Count() const { return static_cast<int>(m_shown.size()); }
    QString LastText() const { return m_shown.empty() ? QString() : m_shown.back().m_strText; }
    int Unexpected() const { return m_nUnexpected; }
    int PendingAnswers() const { return static_cast<int>(m_answers.size()); }

private:
    int Handle(const PromptRequest& request);

    PromptService::Handler m_previous;
    std::deque<int> m_answers;
    std::vector<PromptRequest> m_shown;
    int m_nUnexpected = 0;
};
