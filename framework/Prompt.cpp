#include "framework/Prompt.h"

#include "platform/OsFile.h"
#include "resources/StringTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace {

PromptService::Handler& CurrentHandler() {
    static PromptService::Handler handler;
    return handler;
}

QString Caption() {
    const QString title = QString::fromUtf8(res::LoadString(AFX_IDS_APP_TITLE));
    return title.isEmpty() ? QStringLiteral("QuexoPro") : title;
}

unsigned DefaultIcon(unsigned type) {
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return MB_ICONQUESTION;
    default:
        return MB_ICONEXCLAMATION;
    }
}

} // namespace

int PromptService::Show(const QString& text, unsigned type) {
    PromptRequest request;
    request.m_strText = text;
    request.m_strCaption = Caption();
    request.m_nButtons = type & MB_TYPEMASK;
    request.m_nIcon = (type & MB_ICONMASK) ? (type & MB_ICONMASK) : DefaultIcon(type);
    if (const Handler& handler = CurrentHandler())
        return handler(request);
    return ShowMessageBox(request);
}

PromptService::Handler PromptService::SetHandler(Handler handler) {
    Handler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

int PromptService::ShowMessageBox(const PromptRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.m_strCaption);
    box.setText(request.m_strText);
    switch (request.m_nIcon) {
    case MB_ICONSTOP:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    // The buttons read in French whether or not Qt's translations are installed.
    struct ButtonText {
        QMessageBox::StandardButton m_button;
        const char* m_text;
    };
    static const ButtonText texts[] = {{QMessageBox::Ok, "OK"},
                                       {QMessageBox::Cancel, "Annuler"},
                                       {QMessageBox::Yes, "&Oui"},
                                       {QMessageBox::No, "&Non"}};
    QMessageBox::StandardButtons buttons;
    switch (request.m_nButtons) {
    case MB_OKCANCEL:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MB_YESNO:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case MB_YESNOCANCEL:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    default:
        buttons = QMessageBox::Ok;
        break;
    }
    box.setStandardButtons(buttons);
    for (const ButtonText& t : texts)
        if (QAbstractButton* button = box.button(t.m_button))
            button->setText(QString::fromUtf8(t.m_text));
    QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); // not the wait cursor
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        // Escape or the close button: No is the safe answer where there is no Cancel.
        return request.m_nButtons == MB_YESNO ? IDNO : IDCANCEL;
    }
}

int AfxMessageBox(const QString& text, unsigned type) {
    return PromptService::Show(text, type);
}

int AfxMessageBox(unsigned idPrompt, unsigned type) {
    return PromptService::Show(QString::fromUtf8(res::LoadString(idPrompt)), type);
}

void ReportSystemError(int osError) {
    const std::string text = platform::OsErrorText(osError);
    AfxMessageBox(text.empty() ? QStringLiteral("Unknown Error") : QString::fromLocal8Bit(text),
                  MB_OK);
}
