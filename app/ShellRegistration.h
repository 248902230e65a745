// Registration with the Windows shell: the context-menu handler for every file
// and the command-prompt verbs for folders and drives. The algorithm works on
// any IRegistry, so it is exercised on every platform.
#pragma once

#include "app/IRegistry.h"

#include <functional>
#include <string>

enum class PlatformFamily { Windows95, WindowsNT, Other };

namespace shellreg {

inline constexpr const char* kClassId = "{6513270E-269E-11d0-A2F7-4DE452E6B438}";
inline constexpr const char* kClassKey = "CLSID\\{6513270E-269E-11d0-A2F7-4DE452E6B438}";
inline constexpr const char* kServerKey =
    "CLSID\\{6513270E-269E-11d0-A2F7-4DE452E6B438}\\InProcServer32";
inline constexpr const char* kDescription = "Quexo Pro";
inline constexpr const char* kServerFile = "quexosx.dll";
inline constexpr const char* kHandlerKey = "*\\shellex\\ContextMenuHandlers\\Quexo Pro";
inline constexpr const char* kFolderVerbKey = "Directory\\shell\\DOS Prompt Here";
inline constexpr const char* kDriveVerbKey = "Drive\\shell\\DOS Prompt Here";
inline constexpr const char* kObsoleteVerbKey = "*\\shell\\Quexo";
inline constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quexo";
inline constexpr const char* kMakerKey = "Software\\Tavrin Software\\Quexo Pro";

} // namespace shellreg

// The handler's server path: the program's folder (up to its last backslash)
// followed by "quexosx.dll".
std::string ShellServerPath(const std::string& programPath);

// The command prompt the folder and drive verbs start; empty on other platforms.
std::string CommandPromptProgram(PlatformFamily platform);

// Whether the server file at a path may be registered: Explorer loads it into
// every process that shows a context menu, so it must be a regular file that
// the user or an administrator owns (see ServerFileTrusted).
using ServerFileCheck = std::function<bool(const std::string& serverPath)>;

// Writes the registration when the recorded server path differs from this
// program's (exact, case-sensitive comparison), or removes it. The obsolete
// per-file verb goes in both cases. The handler is registered only when
// `serverTrusted` accepts the server file beside the program; otherwise a
// registration of this one, or of any other the check refuses, is removed, and
// only the prompt verbs are written (when they are not current). Returns false
// after a removal, true after a write; failures of single registry calls are
// not reported.
bool UpdateShellRegistration(IRegistry& registry, bool remove, const std::string& programPath,
                             PlatformFamily platform, const ServerFileCheck& serverTrusted);
