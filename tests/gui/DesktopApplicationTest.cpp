// Finding the desktop's text editor and starting it with hostile file names.
// GIO reads the desktop folders once per process and notices later changes
// only after a while, so each test writes its entries before the first look-up.
#ifndef _WIN32 // the desktop entries and GIO of freedesktop systems
#include "DocumentTestSupport.h"

#include "document/DesktopApplication.h"
#include "framework/PromptScript.h"

#include <QUrl>

namespace {

class DesktopLookup : public DocumentTest {
protected:
    static QString ConfigHome() { return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")); }
    static QString DataHome() { return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")); }

    static void Put(const QString& file, const QString& text, bool executable = false) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
        out.close();
        if (executable)
            out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner);
    }
    void Entry(const QString& folder, const QString& name, const QString& exec = "true %f",
               const QString& extra = QString()) {
        Put(folder + "/applications/" + name, "[Desktop Entry]\nType=Application\nName=" + name +
                                                  "\nExec=" + exec + "\nMimeType=text/plain;\n" +
                                                  extra);
    }

    // A program that writes the hand-off marker and then each argument it got,
    // each ended by a NUL, into `<name>.rec` beside it.
    QString Recorder(const QString& name) {
        const QString script = Path(name + ".sh");
        Put(script,
            "#!/bin/sh\n{ printf '%s\\0' \"$QUEXO_STARTED_BY_HANDOFF\"; for a in \"$@\"; do "
            "printf '%s\\0' \"$a\"; done; } > '" +
                Path(name + ".part") + "' && mv '" + Path(name + ".part") + "' '" +
                Path(name + ".rec") + "'\n",
            true);
        return script;
    }
    // What the recorder `name` got (marker first), once it has run.
    QStringList Received(const QString& name) {
        const QString record = Path(name + ".rec");
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(record) && !deadline.hasExpired())
            QTest::qWait(10);
        QStringList fields = QString::fromUtf8(Read(record)).split(QChar(0));
        fields.removeLast(); // after the last NUL
        QFile::remove(record);
        return fields;
    }
};

} // namespace

TEST_F(DesktopLookup, CandidatesFollowTheDesktopsOrder) {
    // As the desktop resolves it: the first installed default, then the added
    // associations, then what the folders' mimeinfo.cache lists.
    const QString system = Path("sysdata");
    Entry(system, "system.desktop");
    Entry(system, "added.desktop");
    Entry(system, "cached.desktop");
    Entry(system, "removed.desktop");
    Entry(DataHome(), "vendor/editor.desktop");
    Entry(DataHome(), "hidden.desktop", "true %f", "Hidden=true\n");
    Put(system + "/applications/mimeapps.list",
        "[Default Applications]\ntext/plain=system.desktop\n");
    Put(system + "/applications/mimeinfo.cache",
        "[MIME Cache]\ntext/plain=cached.desktop;removed.desktop;hidden.desktop;system.desktop;\n");
    Put(ConfigHome() + "/mimeapps.list",
        "[Default Applications]\ntext/plain=missing.desktop;vendor-editor.desktop\n"
        "[Added Associations]\ntext/plain=hidden.desktop;added.desktop;\n"
        "[Removed Associations]\ntext/plain=removed.desktop;\n");

    EXPECT_EQ(desktop::Candidates("text/plain", QString()),
              (QStringList{"vendor-editor.desktop", "added.desktop", "cached.desktop",
                           "system.desktop"}));
    EXPECT_TRUE(desktop::Candidates("image/png", QString()).isEmpty());
}

TEST_F(DesktopLookup, EntriesThatRunThisProgramAreNeverChosen) {
    // The program under another name (a link) and an entry the registration
    // wrote: both would start this program again.
    const QString program = Recorder("self");
    ASSERT_TRUE(QFile::link(program, Path("self-link")));
    Entry(DataHome(), "self.desktop", Path("self-link") + " %f");
    Entry(DataHome(), "ours.desktop", Recorder("ours") + " %f", "X-Quexo-Program=/x/quexo\n");
    Entry(DataHome(), "editor.desktop", Recorder("editor") + " %f");
    Put(ConfigHome() + "/mimeapps.list",
        "[Default Applications]\ntext/plain=self.desktop;ours.desktop\n"
        "[Added Associations]\ntext/plain=ours.desktop;self.desktop;editor.desktop\n");

    EXPECT_EQ(desktop::Candidates("text/plain", program), QStringList{"editor.desktop"});
    const desktop::LaunchResult result =
        desktop::OpenWithDefault("text/plain", Path("notes.txt"), program);
    EXPECT_EQ(result.m_status, desktop::LaunchStatus::Started);
    EXPECT_EQ(Received("editor"), (QStringList{"1", Path("notes.txt")}))
        << "the editor runs with the hand-off marker";
    EXPECT_FALSE(QFile::exists(Path("self.rec")) || QFile::exists(Path("ours.rec")));
}

TEST_F(DesktopLookup, OnlyOurOwnEntriesMeansNoEditor) {
    Entry(DataHome(), "ours.desktop", Recorder("ours") + " %f", "X-Quexo-Program=/x/quexo\n");
    Put(ConfigHome() + "/mimeapps.list", "[Default Applications]\ntext/plain=ours.desktop\n");
    const QString path = Write("notes.txt", Text());
    m_app->m_nOpenTextMode = 0;
    PromptScript prompts;
    EXPECT_EQ(Open(path), nullptr);
    EXPECT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText(), "Unknown Error");
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(Path("ours.rec")));
}

TEST_F(DesktopLookup, ACopyStartedByAHandOffShowsTextFilesInHex) {
    Entry(DataHome(), "editor.desktop", Recorder("editor") + " %f");
    Put(ConfigHome() + "/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
    const QString path = Write("notes.txt", Text());
    m_app->m_nOpenTextMode = 0;
    setenv(desktop::kHandOffMarker, "1", 1);
    PromptScript prompts;
    CQuexoDoc* document = Open(path);
    unsetenv(desktop::kHandOffMarker);
    ASSERT_NE(document, nullptr) << "opened in hex";
    EXPECT_EQ(prompts.Count(), 0);
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(Path("editor.rec")));
}

TEST_F(DesktopLookup, HostileNamesReachEveryExecFormAsOneArgumentOrAreRefused) {
    const QString rec = Recorder("rec");
    struct Form {
        const char* id;
        QString exec;
        bool urls;          // the program gets file URLs
        bool wrapper;       // a shell sees the name inside its script
        bool shell = false; // a shell runs the name as code: never started
    };
    const std::vector<Form> forms = {
        {"plain.desktop", rec + " %f", false, false},
        {"many.desktop", rec + " --files %F", false, false},
        {"url.desktop", rec + " %u", true, false},
        {"urls.desktop", rec + " %U", true, false},
        {"shell-safe.desktop", "sh -c \"exec " + rec + " \\\\\"\\\\$1\\\\\"\" sh %f", false, false},
        {"shell.desktop", "sh -c \"" + rec + " %f\"", false, true},
        {"shell-quoted.desktop", "sh -c \"" + rec + " '%f'\"", false, true},
        {"dashdash.desktop", "sh -c -- %f", false, false, true},
        {"cluster.desktop", "sh -xc %f", false, false, true},
        {"option.desktop", "sh -o errexit -c %f", false, false, true},
        {"norc.desktop", "bash --norc -c %f", false, false, true},
        {"env.desktop", "env VAR=1 sh -c %f", false, false, true},
        {"script.desktop", "sh %f", false, false, true},
    };
    for (const Form& form : forms)
        Entry(DataHome(), form.id, form.exec);

    // Names a shell would read as code or as several words; a wrapper entry
    // gets only the plain ones.
    const std::vector<std::pair<QString, bool>> names = {{"plain-name_1.txt", true},
                                                         {"-leading.txt", true},
                                                         {"notes$(cd;touch pwned).txt", false},
                                                         {"`cd;touch pwned`.txt", false},
                                                         {"it's \"quoted\".txt", false},
                                                         {"a b.txt", false},
                                                         {"line\nbreak.txt", false},
                                                         {"x';cd;touch pwned;'", false},
                                                         {"x;cd;touch pwned;.txt", false}};
    for (const Form& form : forms) {
        for (const auto& [name, plain] : names) {
            SCOPED_TRACE(std::string(form.id) + " " + name.toStdString());
            const QString path = Path(name);
            const desktop::LaunchResult result = desktop::OpenWith(form.id, path);
            if (form.shell) {
                EXPECT_EQ(result.m_status, desktop::LaunchStatus::ShellEntry);
                continue;
            }
            if (form.wrapper && !plain) {
                EXPECT_EQ(result.m_status, desktop::LaunchStatus::UnsafeName);
                continue;
            }
            ASSERT_EQ(result.m_status, desktop::LaunchStatus::Started)
                << result.m_strDetail.toStdString();
            QStringList received = Received("rec");
            if (form.urls && received.size() == 2 && received[1].startsWith("file:///"))
                received[1] = QUrl(received[1]).toLocalFile();
            QStringList expected{"1"};
            if (QString(form.id) == "many.desktop")
                expected << "--files";
            EXPECT_EQ(received, expected << path);
        }
    }
    EXPECT_FALSE(QFile::exists(QDir::homePath() + "/pwned"));
}

TEST(DesktopExec, FileCodesAShellReadsAndPlainNames) {
    EXPECT_FALSE(desktop::ShellReadsFileCode("ed %f"));
    EXPECT_FALSE(desktop::ShellReadsFileCode("\"/opt/my ed\" --title \"100%%f\" %U"));
    EXPECT_FALSE(desktop::ShellReadsFileCode("sh -c \"exec ed \\\"\\$1\\\"\" sh %f"));
    EXPECT_TRUE(desktop::ShellReadsFileCode("sh -c \"ed %f\""));
    EXPECT_TRUE(desktop::ShellReadsFileCode("sh -c \"ed \\\"%U\\\"\""));
    EXPECT_TRUE(desktop::ShellReadsFileCode("sh -c 'ed %u'"));
    EXPECT_TRUE(desktop::ShellReadsFileCode("bash -lc %f"));
    EXPECT_TRUE(desktop::ShellReadsFileCode("sh -c -- %f"));
    EXPECT_FALSE(desktop::ShellReadsFileCode("sh -c ed %f")) << "the file is only $0";

    EXPECT_TRUE(desktop::PlainFileName("/home/é/notes-1_2.txt"));
    for (const char* name : {"/a b", "/a'b", "/a\"b", "/a$b", "/a`b", "/a;b", "/a\nb", "/a\\b"})
        EXPECT_FALSE(desktop::PlainFileName(name)) << name;
}

TEST_F(DesktopLookup, TerminalEditorsRunInATerminalOrAreRefused) {
    Entry(DataHome(), "vim.desktop", Recorder("rec") + " %f", "Terminal=true\n");
    const QString path = Path("it's \"my notes\".txt");
    const QByteArray oldPath = qgetenv("PATH");
    QDir().mkpath(Path("none"));
    qputenv("PATH", QFile::encodeName(Path("none")));
    EXPECT_EQ(desktop::OpenWith("vim.desktop", path).m_status, desktop::LaunchStatus::NoTerminal);

    // A terminal that runs what follows its -e as it is, like xterm.
    Put(Path("bin/xterm"), "#!/bin/sh\n[ \"$1\" = -e ] || exit 1\nshift\nexec \"$@\"\n", true);
    qputenv("PATH", QFile::encodeName(Path("bin")) + ":/usr/bin:/bin");
    const desktop::LaunchResult result = desktop::OpenWith("vim.desktop", path);
    qputenv("PATH", oldPath);
    ASSERT_EQ(result.m_status, desktop::LaunchStatus::Started) << result.m_strDetail.toStdString();
    EXPECT_EQ(Received("rec"), (QStringList{"1", path}));
}

#endif
