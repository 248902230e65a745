#include "app/DesktopRegistration.h"

#include "app/DesktopEntry.h"
#include "app/OwnFolder.h"

#include <cstdlib>

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

// Our entries are about a kilobyte; anything much larger is not one of them.
constexpr std::size_t kEntryReadLimit = 64 * 1024;

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
    // Every step goes through the opened folder (app/OwnFolder): a folder
    // another user can write is refused, and no link is followed.
    if (request == DesktopRegistrationRequest::Uninstall) {
        if (Usable(folders.applications))
            if (const auto applications = COwnFolder::Open(folders.applications.string(), false)) {
                applications->RemoveName(kOpenWithEntryName);
                applications->RemoveName(kTerminalEntryName);
            }
        // Nothing of ours is ever written inside the maker's folder: it goes
        // when empty, and whatever someone put there stays.
        if (Usable(folders.makerConfig))
            if (const auto maker =
                    COwnFolder::Open(folders.makerConfig.parent_path().string(), false))
                maker->RemoveEmptyFolder(folders.makerConfig.filename().string());
        return false;
    }

    if (!Usable(folders.applications) || programPath.empty())
        return true;
    const auto applications = COwnFolder::Open(folders.applications.string(), true);
    if (!applications)
        return true;
    // Compared as a whole, so that entries an earlier release wrote (which
    // declared file types, and so could become their default) are replaced too.
    // Anything but a small regular file under our name is replaced as well.
    const std::string openWithText = desktopentry::OpenWithEntry(programPath);
    if (request == DesktopRegistrationRequest::Refresh &&
        applications->ReadSmallFile(kOpenWithEntryName, kEntryReadLimit) == openWithText)
        return true;

    applications->ReplaceFile(kOpenWithEntryName, openWithText);
    applications->ReplaceFile(kTerminalEntryName, desktopentry::TerminalHereEntry(programPath));
    return true;
}
