// The built program itself, started as a user would, with private folders.
#include "TestFolderFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        ASSERT_TRUE(QFile::exists(Program())) << Program().toStdString();
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("HOME", m_home.path());
        m_env.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
        m_env.insert("XDG_DATA_HOME", m_home.path() + "/data");
        m_env.insert("XDG_RUNTIME_DIR", m_home.path());
        m_env.insert("QT_QPA_PLATFORM", "offscreen");
    }

    static QString Program() { return QStringLiteral(QUEXO_BUILD_DIR "/app/quexo"); }

    // The exit code, or -1 when the program did not end by itself.
    int Run(const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.start(Program(), arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString Entry() const { return m_home.path() + "/data/applications/quexopro.desktop"; }

    QTemporaryDir m_home;
    QProcessEnvironment m_env;
};

} // namespace

TEST_F(ProgramRun, InstallRecordsTheProgramAndEnds) {
    EXPECT_EQ(Run({"/install"}), 0);
    ASSERT_TRUE(QFile::exists(Entry()));
    const QByteArray text = testfiles::ReadAll(Entry());
    EXPECT_TRUE(text.contains("X-Quexo-Program=" + QFile::encodeName(Program()) + "\n"))
        << text.toStdString();
    EXPECT_EQ(Run({"/uninstall"}), 0);
    EXPECT_FALSE(QFile::exists(Entry()));
}

TEST_F(ProgramRun, OpensAFileAndStoresTheRecentListAtExit) {
    const QString file = m_home.path() + "/data.bin";
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray("\x00\x01\x02\x03", 4));
    out.close();
    const QString picture = m_home.path() + "/window.png";
    m_env.insert("QUEXO_TEST_QUIT_AFTER_MS", "200");
    m_env.insert("QUEXO_TEST_GRAB", picture);
    EXPECT_EQ(Run({file}), 0);
    EXPECT_TRUE(QFile::exists(picture)) << "the window was up";
    const QSettings settings(m_home.path() + "/config/Tavrin Software/QuexoPro.conf",
                             QSettings::IniFormat);
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), file);
}
