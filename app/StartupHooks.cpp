#include "app/StartupHooks.h"

#include "framework/CMDIFrameWnd.h"
#include "framework/CWinApp.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>

void InstallStartupHooks() {
    bool ok = false;
    const int delay = qEnvironmentVariableIntValue("QUEXO_TEST_QUIT_AFTER_MS", &ok);
    if (!ok || delay < 0)
        return;
    const QString grab = qEnvironmentVariable("QUEXO_TEST_GRAB");
    // The timer only fires once the message loop runs, after start-up.
    QTimer::singleShot(delay, QCoreApplication::instance(), [grab] {
        CWinApp* app = AfxGetApp();
        CMDIFrameWnd* frame = app ? app->GetMainWnd() : nullptr;
        if (!frame) {
            QCoreApplication::quit();
            return;
        }
        if (!grab.isEmpty())
            frame->grab().save(grab);
        frame->close();
    });
}
