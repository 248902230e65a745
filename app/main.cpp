// Quexo Pro: the application object runs the program.
#include "app/CQuexoApp.h"
#include "app/ProgramIcon.h"
#include "app/StartupHooks.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUEXO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("quexopro"));
    QApplication::setWindowIcon(ProgramIcon());

    CQuexoApp app(QCoreApplication::arguments().mid(1));
    InstallStartupHooks();
    return app.Run();
}
