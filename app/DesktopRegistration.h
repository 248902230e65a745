// Registration with Linux desktops through freedesktop desktop entries: "open
// with" for every file and a terminal for folders. The counterpart of the
// Windows shell registration, with the same silent contract.
#pragma once

#include <filesystem>
#include <string>

struct DesktopFolders {
    std::filesystem::path applications; // where desktop entries live
    std::filesystem::path makerConfig;  // the maker's own folder, not the settings file
};

// From the environment's values (any of them may be null): XDG_DATA_HOME and
// XDG_CONFIG_HOME when set to absolute paths, else the folders below HOME.
// Empty paths when nothing usable is set.
DesktopFolders DesktopFoldersFrom(const char* xdgDataHome, const char* xdgConfigHome,
                                  const char* home);
DesktopFolders DesktopFoldersFromEnvironment();

inline constexpr const char* kOpenWithEntryName = "quexopro.desktop";
inline constexpr const char* kTerminalEntryName = "quexopro-terminal-here.desktop";

enum class DesktopRegistrationRequest {
    Refresh,   // a normal start: write only when the open-with entry is not current
    Install,   // "/install": write unconditionally
    Uninstall, // "/uninstall": remove the entries, and the maker's folder when empty
};

// Returns false after a removal, true otherwise; individual file failures are
// not reported (a start never stops over them).
bool UpdateDesktopRegistration(const DesktopFolders& folders, const std::string& programPath,
                               DesktopRegistrationRequest request);
