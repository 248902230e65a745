#include "app/DesktopRegistration.h"

#include "app/DesktopEntry.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path XdgFolder(const char* value, const char* home, const char* fallback) {
    if (value && *value && fs::path(value).is_absolute())
        return fs::path(value);
    if (home && *home && fs::path(home).is_absolute())
        return fs::path(home) / fallback;
    return fs::path();
}

bool Usable(const fs::path& folder) {
    return !folder.empty() && folder.is_absolute();
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    return text.str();
}

// Written beside the target and renamed over it, so a reader never sees half an entry.
bool WriteText(const fs::path& file, const std::string& text) {
    const fs::path temporary = file.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, file, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace

DesktopFolders DesktopFoldersFrom(const char* xdgDataHome, const char* xdgConfigHome,
                                  const char* home) {
    DesktopFolders folders;
    const fs::path data = XdgFolder(xdgDataHome, home, ".local/share");
    const fs::path config = XdgFolder(xdgConfigHome, home, ".config");
    if (!data.empty())
        folders.applications = data / "applications";
    if (!config.empty())
        folders.makerConfig = config / "Tavrin Software" / "Quexo Pro";
    return folders;
}

DesktopFolders DesktopFoldersFromEnvironment() {
    return DesktopFoldersFrom(std::getenv("XDG_DATA_HOME"), std::getenv("XDG_CONFIG_HOME"),
                              std::getenv("HOME"));
}

bool UpdateDesktopRegistration(const DesktopFolders& folders, const std::string& programPath,
                               DesktopRegistrationRequest request) {
    std::error_code ignored;
    const bool haveApplications = Usable(folders.applications);
    const fs::path openWith = folders.applications / kOpenWithEntryName;
    const fs::path terminal = folders.applications / kTerminalEntryName;

    if (request == DesktopRegistrationRequest::Uninstall) {
        if (haveApplications) {
            fs::remove(openWith, ignored);
            fs::remove(terminal, ignored);
        }
        if (Usable(folders.makerConfig))
            fs::remove_all(folders.makerConfig, ignored);
        return false;
    }

    if (!haveApplications || programPath.empty())
        return true;
    // Compared as a whole, so that entries an earlier release wrote (which
    // declared file types, and so could become their default) are replaced too.
    const std::string openWithText = desktopentry::OpenWithEntry(programPath);
    if (request == DesktopRegistrationRequest::Refresh && ReadText(openWith) == openWithText)
        return true;

    fs::create_directories(folders.applications, ignored);
    WriteText(openWith, openWithText);
    WriteText(terminal, desktopentry::TerminalHereEntry(programPath));
    return true;
}
