// The prompt service: every message box of the program goes through here, with
// the application's name as caption. Tests replace the handler to answer
// prompts and to see what was shown (PromptScript).
#pragma once

#include "framework/StdCommandIds.h"

#include <QString>

#include <functional>

struct PromptRequest {
    QString m_strText;
    QString m_strCaption;
    unsigned m_nButtons = MB_OK; // MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL
    unsigned m_nIcon = 0;        // MB_ICONSTOP, MB_ICONQUESTION, MB_ICONEXCLAMATION, ...
};

class PromptService {
public:
    using Handler = std::function<int(const PromptRequest&)>;

    // Shows `text` with the buttons and icon of `type`; returns IDOK, IDCANCEL,
    // IDYES or IDNO. Without an icon in `type`, OK boxes get the exclamation
    // mark and Yes/No boxes the question mark.
    static int Show(const QString& text, unsigned type);

    // Replaces the handler that shows the box (null restores the real one);
    // returns the previous handler.
    static Handler SetHandler(Handler handler);

    // The answer of a real message box.
    static int ShowMessageBox(const PromptRequest& request);
};

int AfxMessageBox(const QString& text, unsigned type = MB_OK);
int AfxMessageBox(unsigned idPrompt, unsigned type = MB_OK);

// The system's text for an OS error code in an OK box, or "Unknown Error" when
// the system has none.
void ReportSystemError(int osError);
