// Quexo Pro: the application object runs the program.
#include "app/CQuexoApp.h"
#include "app/CommandLineConsole.h"
#include "app/ProgramIcon.h"
#include "app/StartupHooks.h"

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Help, version and checksums answer on the terminal, with no display.
    if (const auto status = RunConsoleCommand(std::vector<std::string>(argv + 1, argv + argc),
                                              std::cout, std::cerr))
        return *status;

    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUEXO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("quexopro"));
    QApplication::setWindowIcon(ProgramIcon());

    CQuexoApp app(QCoreApplication::arguments().mid(1));
    InstallStartupHooks();
    return app.Run();
}
