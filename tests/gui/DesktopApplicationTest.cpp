// Finding the desktop's text editor and building its command line.
#include "DocumentTestSupport.h"

#include "document/DesktopApplication.h"

namespace {

class DesktopLookup : public DocumentTest {
protected:
    static QString ConfigHome() { return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")); }
    static QString DataHome() { return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")); }

    static void Put(const QString& file, const QString& text) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
    }
    void Entry(const QString& folder, const QString& name, const QString& extra = QString()) {
        Put(folder + "/applications/" + name,
            "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + name + " %f\n" + extra);
    }
};

} // namespace

TEST_F(DesktopLookup, DefaultsBeatAddedAndUserBeatsSystem) {
    const QString system = Path("sysdata");
    Entry(DataHome(), "user.desktop");
    Entry(system, "system.desktop");
    Entry(system, "added.desktop");
    Put(system + "/applications/mimeapps.list",
        "[Default Applications]\ntext/plain=system.desktop\n");
    EXPECT_EQ(desktop::DefaultApplication("text/plain"), "system.desktop");

    Put(ConfigHome() + "/mimeapps.list",
        "[Added Associations]\ntext/plain=added.desktop;\n"
        "[Default Applications]\ntext/plain=missing.desktop;user.desktop\n");
    EXPECT_EQ(desktop::DefaultApplication("text/plain"), "user.desktop")
        << "an entry that is not installed is skipped";
    EXPECT_EQ(desktop::DefaultApplication("image/png"), "");
}

TEST_F(DesktopLookup, AddedAssociationsThenMimeCacheLessRemoved) {
    const QString system = Path("sysdata");
    Entry(system, "cached.desktop");
    Entry(system, "other.desktop");
    Put(system + "/applications/mimeinfo.cache",
        "[MIME Cache]\ntext/plain=cached.desktop;other.desktop;\n");
    EXPECT_EQ(desktop::DefaultApplication("text/plain"), "cached.desktop");
    Put(ConfigHome() + "/mimeapps.list", "[Removed Associations]\ntext/plain=cached.desktop;\n");
    EXPECT_EQ(desktop::DefaultApplication("text/plain"), "other.desktop");
    Put(Path("sysconfig/mimeapps.list"), "[Added Associations]\ntext/plain=cached.desktop\n");
    EXPECT_EQ(desktop::DefaultApplication("text/plain"), "other.desktop")
        << "removed by a more important list";
}

TEST_F(DesktopLookup, DesktopIdsMapToSubfoldersAndHiddenEntriesDoNotCount) {
    Entry(DataHome(), "vendor/editor.desktop");
    EXPECT_EQ(desktop::FindDesktopFile("vendor-editor.desktop"),
              DataHome() + "/applications/vendor/editor.desktop");
    Entry(DataHome(), "hidden.desktop", "Hidden=true\n");
    EXPECT_FALSE(desktop::ReadDesktopEntry(desktop::FindDesktopFile("hidden.desktop")));
    Put(ConfigHome() + "/mimeapps.list",
        "[Default Applications]\ntext/plain=hidden.desktop;vendor-editor.desktop\n");
    EXPECT_EQ(desktop::DefaultApplication("text/plain"), "vendor-editor.desktop");
}

TEST(DesktopExec, QuotingAndFieldCodes) {
    DesktopEntry entry;
    entry.m_strFile = "/apps/ed.desktop";
    entry.m_strName = "Éditeur";
    entry.m_strIcon = "ed-icon";
    entry.m_strExec = R"("/opt/my ed/bin" --title=%c %i --from %k "a \"q\" \$ \\" 100%% %U)";
    const auto command = desktop::CommandFor(entry, "/tmp/a b.txt");
    ASSERT_TRUE(command);
    EXPECT_EQ(*command,
              (QStringList{"/opt/my ed/bin", "--title=Éditeur", "--icon", "ed-icon", "--from",
                           "/apps/ed.desktop", R"(a "q" $ \)", "100%", "/tmp/a b.txt"}));

    entry.m_strIcon.clear();
    entry.m_strExec = "ed %i %d --new-window";
    EXPECT_EQ(*desktop::CommandFor(entry, "/f"), (QStringList{"ed", "--new-window", "/f"}))
        << "no icon, deprecated code dropped, file appended when no code takes it";

    entry.m_strExec = "ed \"unterminated";
    EXPECT_FALSE(desktop::CommandFor(entry, "/f"));
}
