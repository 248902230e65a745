// The registration as the desktop itself resolves it: GIO's `gio mime` and
// `gio launch` in private XDG folders, with and without mimeinfo.cache files,
// with and without other applications for the same types.
#include "app/DesktopEntry.h"
#include "app/DesktopRegistration.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string Shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

void WriteFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string OtherApplication(const std::string& name, const std::string& type) {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true %f\nMimeType=" + type +
           ";\n";
}

// A user's desktop in a temporary folder: the user's data and configuration,
// and a system data folder holding the MIME database and other applications.
class PrivateDesktop {
public:
    PrivateDesktop() {
        std::string pattern = (fs::temp_directory_path() / "quexo-gio-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_root = pattern;
        fs::create_directories(m_root / "home");
        fs::create_directories(System());
        fs::create_directory_symlink("/usr/share/mime", m_root / "system" / "mime");
        m_folders = DesktopFoldersFrom((m_root / "data").c_str(), (m_root / "config").c_str(),
                                       (m_root / "home").c_str());
    }
    ~PrivateDesktop() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    const fs::path& Root() const { return m_root; }
    const DesktopFolders& Folders() const { return m_folders; }
    fs::path System() const { return m_root / "system" / "applications"; }

    // A program in a folder with a blank that records the words it was given,
    // one a line, in Root()/words.
    std::string StandInProgram() const {
        const fs::path program = m_root / "bin dir" / "quexo";
        const std::string record = (m_root / "words").string();
        WriteFile(program, "#!/bin/sh\nfor w in \"$@\"; do echo \"$w\"; done > " +
                               Quote(record + ".new") + " && mv " + Quote(record + ".new") + " " +
                               Quote(record) + "\n");
        fs::permissions(program, fs::perms::owner_all);
        return program.string();
    }
    void AddOtherApplications() {
        WriteFile(System() / "editor.desktop", OtherApplication("Editor", "text/plain"));
        WriteFile(System() / "files.desktop", OtherApplication("Files", "inode/directory"));
        WriteFile(System() / "viewer.desktop", OtherApplication("Viewer", "image/png"));
    }
    void RegenerateCaches() {
        for (const fs::path& folder : {m_folders.applications, System()})
            Shell("update-desktop-database " + Quote(folder.string()));
    }
    std::string Gio(const std::string& arguments) const {
        return Shell("env -i PATH=/usr/bin:/bin HOME=" + Quote((m_root / "home").string()) +
                     " XDG_DATA_HOME=" + Quote((m_root / "data").string()) +
                     " XDG_CONFIG_HOME=" + Quote((m_root / "config").string()) +
                     " XDG_DATA_DIRS=" + Quote((m_root / "system").string()) + " XDG_CONFIG_DIRS=" +
                     Quote((m_root / "system-config").string()) + " gio " + arguments);
    }

private:
    fs::path m_root;
    DesktopFolders m_folders;
};

bool Have(const char* tool) {
    return Shell(std::string("command -v ") + tool).find(tool) != std::string::npos;
}

} // namespace

TEST(DesktopResolution, NeverADefaultWithOrWithoutCachesAndOtherApplications) {
    ASSERT_TRUE(Have("gio") && Have("update-desktop-database"))
        << "scripts/install-deps installs libglib2.0-bin and desktop-file-utils";
    const char* const types[] = {"text/plain", "application/octet-stream", "image/png",
                                 "inode/directory", "application/x-quexo-unknown"};
    for (const bool others : {false, true}) {
        for (const bool caches : {false, true}) {
            PrivateDesktop desktop;
            if (others)
                desktop.AddOtherApplications();
            // The program must exist: the desktop skips entries whose program is missing.
            UpdateDesktopRegistration(desktop.Folders(), desktop.StandInProgram(),
                                      DesktopRegistrationRequest::Install);
            if (caches)
                desktop.RegenerateCaches();
            for (const char* type : types) {
                const std::string answer = desktop.Gio(std::string("mime ") + type);
                SCOPED_TRACE(std::string(type) + (others ? " others" : " alone") +
                             (caches ? " cached" : " uncached") + "\n" + answer);
                // Neither entry is a candidate for any type, so never the default.
                EXPECT_EQ(answer.find("quexopro"), std::string::npos);
                EXPECT_EQ(answer.find("rror"), std::string::npos);
            }
            if (others && caches) {
                // The system's own choices stand, although the user's folder is searched first.
                EXPECT_NE(desktop.Gio("mime text/plain").find(": editor.desktop"),
                          std::string::npos);
                EXPECT_NE(desktop.Gio("mime inode/directory").find(": files.desktop"),
                          std::string::npos);
            }
        }
    }
}

TEST(DesktopResolution, TheDesktopLaunchesTheEntryWithTheFileAfterEndOfFlags) {
    ASSERT_TRUE(Have("gio"));
    PrivateDesktop desktop;
    UpdateDesktopRegistration(desktop.Folders(), desktop.StandInProgram(),
                              DesktopRegistrationRequest::Install);
    const fs::path record = desktop.Root() / "words";
    const fs::path file = desktop.Root() / "-odd name.bin";
    WriteFile(file, "x");

    const fs::path entry = desktop.Folders().applications / kOpenWithEntryName;
    const std::string answer =
        desktop.Gio("launch " + Quote(entry.string()) + " " + Quote(file.string()));
    for (int i = 0; i < 100 && !fs::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadFile(record), "--\n" + file.string() + "\n") << answer;

    if (Have("desktop-file-validate")) {
        EXPECT_EQ(Shell("desktop-file-validate " + Quote(entry.string())), "");
        EXPECT_EQ(Shell("desktop-file-validate " +
                        Quote((desktop.Folders().applications / kTerminalEntryName).string())),
                  "");
    }
}
