#include "app/ShellRegistration.h"

#include "app/RegistryTree.h"

std::string ShellServerPath(const std::string& programPath) {
    const size_t slash = programPath.rfind('\\');
    const std::string folder =
        slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
    return folder + shellreg::kServerFile;
}

std::string CommandPromptProgram(PlatformFamily platform) {
    switch (platform) {
    case PlatformFamily::Windows95:
        return "command.com";
    case PlatformFamily::WindowsNT:
        return "cmd.exe";
    case PlatformFamily::Other:
        break;
    }
    return std::string();
}

namespace {

void WritePromptVerbs(IRegistry& registry, const std::string& prompt) {
    using namespace shellreg;
    if (prompt.empty())
        return;
    SetRegistryString(registry, kHKeyClassesRoot, std::string(kFolderVerbKey) + "\\command",
                      nullptr, prompt);
    SetRegistryString(registry, kHKeyClassesRoot, std::string(kDriveVerbKey) + "\\command", nullptr,
                      prompt);
}

} // namespace

bool UpdateShellRegistration(IRegistry& registry, bool remove, const std::string& programPath,
                             PlatformFamily platform, const ServerFileCheck& serverTrusted) {
    using namespace shellreg;

    // Earlier releases had a per-file verb; nothing writes it any more.
    DeleteRegistryTree(registry, kHKeyClassesRoot, kObsoleteVerbKey);

    if (remove) {
        DeleteRegistryTree(registry, kHKeyClassesRoot, kClassKey);
        DeleteRegistryTree(registry, kHKeyClassesRoot, kHandlerKey);
        DeleteRegistryTree(registry, kHKeyClassesRoot, kFolderVerbKey);
        DeleteRegistryTree(registry, kHKeyClassesRoot, kDriveVerbKey);
        DeleteRegistryTree(registry, kHKeyLocalMachine, kUninstallKey);
        DeleteRegistryTree(registry, kHKeyCurrentUser, kMakerKey);
        return false;
    }

    const std::string serverPath = ShellServerPath(programPath);
    const std::string recorded = GetRegistryString(registry, kHKeyClassesRoot, kServerKey, nullptr);
    const std::string prompt = CommandPromptProgram(platform);
    if (!serverTrusted(serverPath)) {
        // No server file we could stand behind (none is shipped, or anyone
        // could have dropped it into this folder): Explorer must not load it.
        if (!recorded.empty() && (recorded == serverPath || !serverTrusted(recorded))) {
            DeleteRegistryTree(registry, kHKeyClassesRoot, kHandlerKey);
            DeleteRegistryTree(registry, kHKeyClassesRoot, kClassKey);
        }
        if (GetRegistryString(registry, kHKeyClassesRoot, std::string(kFolderVerbKey) + "\\command",
                              nullptr) != prompt)
            WritePromptVerbs(registry, prompt);
        return true;
    }
    if (recorded == serverPath)
        return true;

    SetRegistryString(registry, kHKeyClassesRoot, kHandlerKey, nullptr, kClassId);
    SetRegistryString(registry, kHKeyClassesRoot, kClassKey, nullptr, kDescription);
    SetRegistryString(registry, kHKeyClassesRoot, kServerKey, nullptr, serverPath);
    SetRegistryString(registry, kHKeyClassesRoot, kServerKey, "ThreadingModel", "Apartment");

    WritePromptVerbs(registry, prompt);
    return true;
}
