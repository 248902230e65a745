#include "app/ProgramRegistration.h"

#ifdef _WIN32
#include "app/ShellRegistration.h"
#include "app/ShellServerFile.h"
#include "app/Win32Registry.h"
#endif

bool UpdateProgramRegistration(DesktopRegistrationRequest request, const std::string& programPath) {
#ifdef _WIN32
    CWin32Registry registry;
    return UpdateShellRegistration(registry, request == DesktopRegistrationRequest::Uninstall,
                                   programPath, CurrentPlatformFamily(), ServerFileTrusted);
#else
    return UpdateDesktopRegistration(DesktopFoldersFromEnvironment(), programPath, request);
#endif
}
