#include "app/DesktopRegistration.h"
#include "app/DesktopEntry.h"
#include "platform/FaultInjection.h"

#include "StorageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& file) {
    return storage_test::ReadText(file.string());
}

void WriteFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string KeyValue(const std::string& entry, const std::string& key) {
    std::istringstream in(entry);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return std::string();
}

// A reader of Exec lines as desktops read them: string unescaping, then the
// quoting rules, then %% and the field codes.
std::vector<std::string> ParseExec(const std::string& value) {
    const std::string line = desktopentry::UnescapeValue(value);
    std::vector<std::string> args;
    std::string arg;
    bool inArg = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size())
                arg += line[++i];
            else if (c == '"')
                quoted = false;
            else
                arg += c;
        } else if (c == '"') {
            quoted = inArg = true;
        } else if (c == ' ') {
            if (inArg)
                args.push_back(arg);
            arg.clear();
            inArg = false;
        } else {
            arg += c;
            inArg = true;
        }
    }
    if (inArg)
        args.push_back(arg);
    for (std::string& a : args) {
        std::string out;
        for (size_t i = 0; i < a.size(); ++i) {
            out += a[i];
            if (a[i] == '%' && i + 1 < a.size() && a[i + 1] == '%')
                ++i;
        }
        a = out;
    }
    return args;
}

struct Folders {
    storage_test::TempDir temp;
    DesktopFolders folders;
    Folders() {
        folders = DesktopFoldersFrom((fs::path(temp.Path()) / "data").c_str(),
                                     (fs::path(temp.Path()) / "config").c_str(), nullptr);
    }
    fs::path OpenWith() const { return folders.applications / kOpenWithEntryName; }
    fs::path Terminal() const { return folders.applications / kTerminalEntryName; }
};

} // namespace

TEST(DesktopFolders, FollowXdgVariablesElseHome) {
    DesktopFolders f = DesktopFoldersFrom("/x/data", "/x/config", "/home/u");
    EXPECT_EQ(f.applications, fs::path("/x/data/applications"));
    EXPECT_EQ(f.makerConfig, fs::path("/x/config/Tavrin Software/Quexo Pro"));

    // Relative or empty XDG values are ignored, as the base directory rules say.
    f = DesktopFoldersFrom("relative", "", "/home/u");
    EXPECT_EQ(f.applications, fs::path("/home/u/.local/share/applications"));
    EXPECT_EQ(f.makerConfig, fs::path("/home/u/.config/Tavrin Software/Quexo Pro"));

    f = DesktopFoldersFrom(nullptr, nullptr, nullptr);
    EXPECT_TRUE(f.applications.empty());
    EXPECT_TRUE(f.makerConfig.empty());
}

TEST(DesktopEntry, ValuesAndExecArgumentsSurviveAwkwardPaths) {
    const std::string path = " /opt/My \"Hex\" $HOME `x`/50%\\dir\n/quexo";
    EXPECT_EQ(desktopentry::UnescapeValue(desktopentry::EscapeValue(path)), path);
    EXPECT_EQ(desktopentry::EscapeValue("a\\b c"), "a\\\\b c");

    const std::string entry = desktopentry::OpenWithEntry(path);
    EXPECT_EQ(desktopentry::RecordedProgram(entry), path);
    EXPECT_EQ(ParseExec(KeyValue(entry, "Exec")), (std::vector<std::string>{path, "--", "%f"}));
    EXPECT_EQ(KeyValue(entry, "Type"), "Application");
}

TEST(DesktopEntry, RecordedProgramIsReadOnlyFromTheMainGroup) {
    EXPECT_EQ(desktopentry::RecordedProgram(""), std::nullopt);
    EXPECT_EQ(desktopentry::RecordedProgram("[Other]\nX-Quexo-Program=/a\n"), std::nullopt);
    EXPECT_EQ(desktopentry::RecordedProgram("[Desktop Entry]\r\nX-Quexo-Program = /a b\r\n"),
              "/a b");
    EXPECT_EQ(desktopentry::RecordedProgram("[Desktop Entry]\nX-Quexo-ProgramX=/a\n"),
              std::nullopt);
}

// Runs an entry's Exec line, its %f replaced by `file` (dropped when empty),
// with a stand-in terminal that records the folder it started in.
std::string TerminalStartFolder(const std::string& file, const fs::path& home) {
    std::vector<std::string> args =
        ParseExec(KeyValue(desktopentry::TerminalHereEntry("/usr/bin/quexo"), "Exec"));
    EXPECT_EQ(args.size(), 5u);
    EXPECT_EQ(args.back(), "%f");
    args.pop_back();
    if (!file.empty())
        args.push_back(file);

    storage_test::TempDir temp;
    const fs::path bin = fs::path(temp.Path()) / "bin";
    const fs::path record = fs::path(temp.Path()) / "started-in";
    WriteFile(bin / "x-terminal-emulator", "#!/bin/sh\npwd > \"$RECORD\"\n");
    fs::permissions(bin / "x-terminal-emulator", fs::perms::owner_all);
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        setenv("PATH", (bin.string() + ":/usr/bin:/bin").c_str(), 1);
        setenv("RECORD", record.c_str(), 1);
        setenv("HOME", home.c_str(), 1);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << file;
    return ReadFile(record);
}

TEST(DesktopEntry, TerminalHereStartsInTheFolderTheFilesFolderOrHome) {
    storage_test::TempDir temp;
    const fs::path target = fs::path(temp.Path()) / "a folder $with 'quotes' -x";
    const fs::path home = fs::path(temp.Path()) / "home";
    fs::create_directories(target);
    fs::create_directories(home);
    WriteFile(target / "-data.bin", "x");
    EXPECT_EQ(TerminalStartFolder(target.string(), home), target.string() + "\n");
    EXPECT_EQ(TerminalStartFolder((target / "-data.bin").string(), home), target.string() + "\n");
    EXPECT_EQ(TerminalStartFolder("", home), home.string() + "\n");
}

TEST(DesktopRegistration, FirstStartWritesBothEntriesLaterStartsNothing) {
    Folders s;
    EXPECT_TRUE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                          DesktopRegistrationRequest::Refresh));
    EXPECT_EQ(desktopentry::RecordedProgram(ReadFile(s.OpenWith())), "/opt/quexo/quexo");
    EXPECT_EQ(desktopentry::RecordedProgram(ReadFile(s.Terminal())), "/opt/quexo/quexo");
    EXPECT_FALSE(fs::exists(s.OpenWith().string() + ".new"));

    // A removed terminal entry stays removed while the program has not moved...
    fs::remove(s.Terminal());
    EXPECT_TRUE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                          DesktopRegistrationRequest::Refresh));
    EXPECT_FALSE(fs::exists(s.Terminal()));

    // ...and comes back when it has, even by letter case only.
    EXPECT_TRUE(UpdateDesktopRegistration(s.folders, "/opt/Quexo/quexo",
                                          DesktopRegistrationRequest::Refresh));
    EXPECT_EQ(desktopentry::RecordedProgram(ReadFile(s.Terminal())), "/opt/Quexo/quexo");
    EXPECT_EQ(desktopentry::RecordedProgram(ReadFile(s.OpenWith())), "/opt/Quexo/quexo");
}

TEST(DesktopRegistration, RefreshReplacesAnEntryOfAnEarlierFormat) {
    Folders s;
    const std::string earlier = "[Desktop Entry]\nType=Application\nName=Quexo Pro\n"
                                "Exec=\"/opt/quexo/quexo\" %f\n"
                                "MimeType=application/octet-stream;text/plain;\n"
                                "X-Quexo-Program=/opt/quexo/quexo\n";
    WriteFile(s.OpenWith(), earlier);
    WriteFile(s.Terminal(), "[Desktop Entry]\nMimeType=inode/directory;\n");
    EXPECT_TRUE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                          DesktopRegistrationRequest::Refresh));
    EXPECT_EQ(ReadFile(s.OpenWith()), desktopentry::OpenWithEntry("/opt/quexo/quexo"));
    EXPECT_EQ(ReadFile(s.Terminal()), desktopentry::TerminalHereEntry("/opt/quexo/quexo"));
}

TEST(DesktopRegistration, InstallAlwaysWrites) {
    Folders s;
    UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo", DesktopRegistrationRequest::Refresh);
    fs::remove(s.Terminal());
    WriteFile(s.OpenWith(), "[Desktop Entry]\nX-Quexo-Program=/opt/quexo/quexo\nName=edited\n");
    EXPECT_TRUE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                          DesktopRegistrationRequest::Install));
    EXPECT_TRUE(fs::exists(s.Terminal()));
    EXPECT_EQ(ReadFile(s.OpenWith()), desktopentry::OpenWithEntry("/opt/quexo/quexo"));
}

TEST(DesktopRegistration, UninstallRemovesEntriesAndMakerFolderButNotSettings) {
    Folders s;
    UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo", DesktopRegistrationRequest::Install);
    const fs::path maker = s.folders.makerConfig;
    const fs::path settings = maker.parent_path() / "QuexoPro.conf";
    const fs::path other = s.folders.applications / "other.desktop";
    fs::create_directories(maker);
    WriteFile(settings, "[Settings]\nHex%20Address=1\n");
    WriteFile(other, "[Desktop Entry]\n");
    // Links under our names go themselves; what they lead to stays.
    const fs::path victim = fs::path(s.temp.Path()) / "victim";
    WriteFile(victim, "keep");
    fs::remove(s.Terminal());
    fs::create_symlink(victim, s.Terminal());

    EXPECT_FALSE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                           DesktopRegistrationRequest::Uninstall));
    EXPECT_FALSE(fs::exists(s.OpenWith()));
    EXPECT_FALSE(fs::is_symlink(s.Terminal()));
    EXPECT_EQ(ReadFile(victim), "keep");
    EXPECT_FALSE(fs::exists(maker));
    EXPECT_EQ(ReadFile(settings), "[Settings]\nHex%20Address=1\n");
    EXPECT_TRUE(fs::exists(other));

    // We never write inside the maker's folder: what someone else put there
    // is not ours to remove, so the folder stays with it.
    WriteFile(maker / "sub" / "state", "x");
    UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo", DesktopRegistrationRequest::Uninstall);
    EXPECT_EQ(ReadFile(maker / "sub" / "state"), "x");

    // Nothing left: still silent.
    EXPECT_FALSE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                           DesktopRegistrationRequest::Uninstall));
}

TEST(DesktopRegistration, UnwritableOrMissingFoldersAreSilent) {
    Folders s;
    // A file where the folder should be: nothing can be written, nothing is thrown.
    WriteFile(s.folders.applications, "not a folder");
    EXPECT_TRUE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                          DesktopRegistrationRequest::Refresh));
    EXPECT_TRUE(fs::is_regular_file(s.folders.applications));

    EXPECT_TRUE(
        UpdateDesktopRegistration(DesktopFolders{}, "/q", DesktopRegistrationRequest::Install));
    EXPECT_FALSE(
        UpdateDesktopRegistration(DesktopFolders{}, "/q", DesktopRegistrationRequest::Uninstall));
}

namespace {
// Notes every file operation, in order, as "op name".
class OperationLog : public platform::FaultInjector {
public:
    OperationLog() { m_previous = platform::SetFaultInjector(this); }
    ~OperationLog() override { platform::SetFaultInjector(m_previous); }
    int Before(platform::FileOp op, const std::string& name, std::int64_t*) override {
        m_log.push_back(std::to_string(static_cast<int>(op)) + " " + name);
        return 0;
    }
    std::vector<std::string> m_log;

private:
    platform::FaultInjector* m_previous = nullptr;
};
} // namespace

TEST(DesktopRegistration, EntriesAreSyncedBeforeTheyTakeTheirPlace) {
    Folders s;
    OperationLog log;
    UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo", DesktopRegistrationRequest::Install);
    for (const fs::path& entry : {s.OpenWith(), s.Terminal()}) {
        const std::string sync =
            std::to_string(static_cast<int>(platform::FileOp::Sync)) + " " +
            (entry.parent_path() / ("." + entry.filename().string() + ".")).string();
        const auto at = [&](platform::FileOp op, const std::string& name) {
            const std::string line = std::to_string(static_cast<int>(op)) + " " + name;
            return std::find(log.m_log.begin(), log.m_log.end(), line) - log.m_log.begin();
        };
        const auto synced = std::find_if(log.m_log.begin(), log.m_log.end(),
                                         [&](const auto& l) { return l.rfind(sync, 0) == 0; }) -
                            log.m_log.begin();
        const auto rename = at(platform::FileOp::Replace, entry.string());
        const auto folder = at(platform::FileOp::SyncFolder, entry.string());
        const auto end = static_cast<std::ptrdiff_t>(log.m_log.size());
        EXPECT_LT(synced, rename) << entry;
        EXPECT_LT(rename, end) << entry;
        EXPECT_LT(folder, end) << entry;
    }
}

namespace {
// Runs a refresh in a child process, so that one which blocks or reads without
// end fails the test instead of hanging it: false when it did not end well
// within `seconds`.
bool RefreshEndsWithin(const DesktopFolders& folders, int seconds) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(static_cast<unsigned>(seconds));
        UpdateDesktopRegistration(folders, "/opt/quexo/quexo", DesktopRegistrationRequest::Refresh);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

TEST(DesktopRegistration, PlantedLinksAreReplacedNeverWrittenThrough) {
    // Names an earlier release wrote through, and the entries themselves.
    for (const std::string& planted :
         {std::string(kOpenWithEntryName) + ".new", std::string(kOpenWithEntryName),
          std::string(kTerminalEntryName)}) {
        SCOPED_TRACE(planted);
        Folders s;
        const fs::path victim = fs::path(s.temp.Path()) / "bashrc";
        WriteFile(victim, "user's own\n");
        fs::create_directories(s.folders.applications);
        fs::create_symlink(victim, s.folders.applications / planted);

        EXPECT_TRUE(UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                              DesktopRegistrationRequest::Refresh));
        EXPECT_EQ(ReadFile(victim), "user's own\n");
        EXPECT_FALSE(fs::is_symlink(s.OpenWith()));
        EXPECT_FALSE(fs::is_symlink(s.Terminal()));
        EXPECT_EQ(ReadFile(s.OpenWith()), desktopentry::OpenWithEntry("/opt/quexo/quexo"));
        EXPECT_EQ(ReadFile(s.Terminal()), desktopentry::TerminalHereEntry("/opt/quexo/quexo"));
    }
}

TEST(DesktopRegistration, FoldersOthersCanWriteOrThatAreLinksAreLeftAlone) {
    struct Case {
        fs::perms mode;
        bool written;
    };
    for (const Case& c :
         {Case{fs::perms::owner_all | fs::perms::others_all, false},
          Case{fs::perms::owner_all | fs::perms::group_write, false},
          Case{fs::perms::all | fs::perms::sticky_bit, true}, Case{fs::perms::owner_all, true}}) {
        Folders s;
        fs::create_directories(s.folders.applications);
        fs::permissions(s.folders.applications, c.mode);
        UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                  DesktopRegistrationRequest::Install);
        EXPECT_EQ(fs::exists(s.OpenWith()), c.written) << static_cast<int>(c.mode);
        fs::permissions(s.folders.applications, fs::perms::owner_all);
        UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo",
                                  DesktopRegistrationRequest::Uninstall);
        EXPECT_FALSE(fs::exists(s.OpenWith()));
    }

    // The applications folder a link to another folder of the user's.
    Folders s;
    const fs::path elsewhere = fs::path(s.temp.Path()) / "autostart";
    fs::create_directories(elsewhere);
    fs::create_directories(s.folders.applications.parent_path());
    fs::create_directory_symlink(elsewhere, s.folders.applications);
    UpdateDesktopRegistration(s.folders, "/opt/quexo/quexo", DesktopRegistrationRequest::Install);
    EXPECT_TRUE(fs::is_empty(elsewhere));

    // A folder we create ourselves is the user's alone.
    Folders fresh;
    UpdateDesktopRegistration(fresh.folders, "/q", DesktopRegistrationRequest::Install);
    EXPECT_EQ(fs::status(fresh.folders.applications).permissions(), fs::perms::owner_all);
}

TEST(DesktopRegistration, StartUpReadsOnlyASmallRegularEntry) {
    // A pipe would block the read, a link to /dev/zero would never end, a
    // huge file is not ours: each is replaced by the entry, promptly.
    for (const char* what : {"fifo", "zero", "huge", "folder"}) {
        const std::string kind = what;
        SCOPED_TRACE(kind);
        Folders s;
        fs::create_directories(s.folders.applications);
        const std::string name = s.OpenWith().string();
        if (kind == "fifo")
            ASSERT_EQ(mkfifo(name.c_str(), 0600), 0);
        else if (kind == "zero")
            fs::create_symlink("/dev/zero", name);
        else if (kind == "huge")
            WriteFile(name,
                      desktopentry::OpenWithEntry("/opt/quexo/quexo") + std::string(1 << 20, '#'));
        else
            fs::create_directories(s.OpenWith() / "sub");
        ASSERT_TRUE(RefreshEndsWithin(s.folders, 10));
        if (kind == "folder") {
            EXPECT_TRUE(fs::is_directory(s.OpenWith())) << "never removed to make room";
            continue;
        }
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(s.OpenWith())));
        EXPECT_EQ(ReadFile(s.OpenWith()), desktopentry::OpenWithEntry("/opt/quexo/quexo"));
    }
}
