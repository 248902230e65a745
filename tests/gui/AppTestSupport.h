// Start-up tests drive the real application object with explicit argument
// lists. The program file is placed in the test's folder, so the shortcut,
// the help page and the recorded program path are the test's own; web pages
// are recorded instead of opened, and the system XDG folders are private, so no
// real desktop application is ever started.
#pragma once

#include "RecordingEditor.h"
#include "TestFolderFixture.h"

#include "app/CQuexoApp.h"
#include "framework/CMDIFrameWnd.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class TestQuexoApp : public CQuexoApp {
public:
    TestQuexoApp(const QStringList& arguments, const QString& programPath)
        : CQuexoApp(arguments), m_strProgram(programPath) {}

    QStringList m_openedUrls;
    bool m_bOpenSucceeds = true;

protected:
    QString ProgramFilePath() const override { return m_strProgram; }
    bool OpenUrl(const QUrl& url) override {
        m_openedUrls.append(url.toString());
        return m_bOpenSucceeds;
    }

private:
    QString m_strProgram;
};

class AppTest : public TestFolderFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("sysdata/applications"));
        QDir(m_dir.path()).mkpath(QStringLiteral("sysconfig"));
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        setenv("XDG_DATA_DIRS", QFile::encodeName(Path("sysdata")).constData(), 1);
        setenv("XDG_CONFIG_DIRS", QFile::encodeName(Path("sysconfig")).constData(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
    }

    void TearDown() override {
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString Program() const { return Path(QStringLiteral("bin/quexo")); }

    // A fresh application object (the previous one goes first) and its start.
    bool Start(const QStringList& arguments) {
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_app = std::make_unique<TestQuexoApp>(arguments, Program());
        return m_app->InitInstance();
    }

    static QString ApplicationsFolder() {
        return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/applications";
    }
    static QString OpenWithEntry() { return ApplicationsFolder() + "/quexopro.desktop"; }
    static QString TerminalEntry() {
        return ApplicationsFolder() + "/quexopro-terminal-here.desktop";
    }
    static QString MakerFolder() {
        return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/Tavrin Software/Quexo Pro";
    }
    static QString SettingsFile() {
        return QSettings(QStringLiteral("Tavrin Software"), QStringLiteral("QuexoPro")).fileName();
    }

    // The program path an entry records, or empty.
    static QString RecordedProgram(const QString& entry) {
        for (const QByteArray& line : Read(entry).split('\n'))
            if (line.startsWith("X-Quexo-Program="))
                return QString::fromUtf8(line.mid(int(qstrlen("X-Quexo-Program="))));
        return QString();
    }

    bool AnyWindowVisible() const {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                return true;
        return false;
    }

    QString InstallRecordingEditor() {
        return testing_support::InstallRecordingEditor(m_dir.path());
    }
    static QString WaitForRecord(const QString& record) {
        return testing_support::WaitForRecord(record);
    }

    std::unique_ptr<TestQuexoApp> m_app;
};
