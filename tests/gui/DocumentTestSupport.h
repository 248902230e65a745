// A running framework for document and framework tests: an application object
// with the program's template and a shown main frame, private system XDG
// folders (so no real desktop application is ever started), a folder for test
// files, and fault injection by operation and file.
#pragma once

#include "RecordingEditor.h"
#include "TestFolderFixture.h"

#include "commands/ViewCommands.h"
#include "display/CQuexoView.h"
#include "document/CQuexoDoc.h"
#include "document/CTextHandOff.h"
#include "framework/CDocTemplate.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CWinApp.h"
#include "platform/FaultInjection.h"
#include "storage/CPieceFile64.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <vector>

// Readable strings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class TestApp : public CWinApp, public CTextHandOff {
public:
    TestApp() {
        SetRegistryKey(QStringLiteral("Tavrin Software"));
        m_pTemplate = AddDocTemplate(CMultiDocTemplate::Create<CQuexoDoc, CMDIChildWnd, CQuexoView>(
            129, ViewCommands::AttachTo));
    }
    CDocTemplate* m_pTemplate;
};

// Fails chosen operations on files whose name contains a given text, after
// letting the first `skip` matching calls through.
class FaultRules : public platform::FaultInjector {
public:
    struct Rule {
        platform::FileOp m_op;
        std::string m_strName;
        int m_nError;
        int m_nSkip = 0;
        int m_nTimes = -1; // -1: every time
    };

    FaultRules() { platform::SetFaultInjector(this); }
    ~FaultRules() override { platform::SetFaultInjector(nullptr); }

    FaultRules& Fail(platform::FileOp op, const QString& name, int error, int skip = 0,
                     int times = -1) {
        m_rules.push_back({op, QFile::encodeName(name).toStdString(), error, skip, times});
        return *this;
    }

    int Before(platform::FileOp op, const std::string& name, std::int64_t*) override {
        for (Rule& rule : m_rules) {
            if (rule.m_op != op || name.find(rule.m_strName) == std::string::npos)
                continue;
            if (rule.m_nSkip > 0) {
                --rule.m_nSkip;
                continue;
            }
            if (rule.m_nTimes == 0)
                continue;
            if (rule.m_nTimes > 0)
                --rule.m_nTimes;
            return rule.m_nError;
        }
        return 0;
    }

private:
    std::vector<Rule> m_rules;
};

class DocumentTest : public TestFolderFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Only the test's own desktop entries count.
        QDir(m_dir.path()).mkpath(QStringLiteral("sysdata/applications"));
        QDir(m_dir.path()).mkpath(QStringLiteral("sysconfig"));
        setenv("XDG_DATA_DIRS", QFile::encodeName(m_dir.path() + "/sysdata").constData(), 1);
        setenv("XDG_CONFIG_DIRS", QFile::encodeName(m_dir.path() + "/sysconfig").constData(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
        QDir().mkpath(QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/applications");

        m_app = std::make_unique<TestApp>();
        m_pMain = new CMDIFrameWnd;
        m_pMain->SetTitle(QStringLiteral("Quexo Pro fr"));
        m_app->SetMainWnd(m_pMain);
        m_pMain->resize(800, 600);
        m_pMain->show();
    }

    void TearDown() override {
        m_app.reset();
        // Frames and documents go with deferred deletion.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CQuexoDoc* Open(const QString& path) {
        return qobject_cast<CQuexoDoc*>(m_app->OpenDocumentFile(path));
    }

    int DocumentCount() const { return int(m_app->m_pTemplate->GetDocuments().size()); }

    CQuexoDoc* ActiveDocument() const {
        return qobject_cast<CQuexoDoc*>(m_pMain->GetActiveDocument());
    }

    QString InstallRecordingEditor() {
        return testing_support::InstallRecordingEditor(m_dir.path());
    }
    static QString WaitForRecord(const QString& record) {
        return testing_support::WaitForRecord(record);
    }

    std::unique_ptr<TestApp> m_app;
    CMDIFrameWnd* m_pMain = nullptr;
};
