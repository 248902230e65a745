#include "app/DesktopRegistration.h"

#include "app/DesktopEntry.h"
#include "platform/OsFile.h"

#include <cstdint>
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

// Written beside the target, made durable and renamed over it, so neither a
// reader nor a crash ever leaves half an entry.
bool WriteText(const fs::path& file, const std::string& text) {
    const std::string temporary = file.string() + ".new";
    platform::FileHandle handle = platform::kNoFile;
    if (platform::OpenFile(
            temporary, platform::modeCreate | platform::modeReadWrite | platform::shareExclusive,
            &handle) != 0)
        return false;
    std::uint32_t done = 0;
    int err =
        platform::WriteAt(handle, 0, text.data(), static_cast<std::uint32_t>(text.size()), &done);
    if (err == 0 && done < text.size())
        err = platform::kNoSpace;
    if (err == 0)
        err = platform::SyncFile(handle);
    const int closed = platform::CloseFile(handle);
    if (err == 0)
        err = closed;
    if (err == 0)
        err = platform::ReplaceFile(temporary, file.string());
    if (err != 0) {
        platform::RemoveFile(temporary);
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
