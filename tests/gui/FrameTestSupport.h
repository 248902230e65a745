// A running program for view and frame tests: an application object with the
// program's template (CQuexoDoc, CChildFrame, CQuexoView), a loaded CMainFrame,
// an empty settings profile and a folder for test files.
#pragma once

#include "TestFolderFixture.h"

#include "commands/ViewCommands.h"
#include "display/CCursorDataDlg.h"
#include "display/CQuexoView.h"
#include "display/FontConversion.h"
#include "document/CQuexoDoc.h"
#include "document/CTextHandOff.h"
#include "frames/CChildFrame.h"
#include "frames/CMainFrame.h"
#include "frames/CStatusBar.h"
#include "framework/CDocTemplate.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CWinApp.h"
#include "framework/PromptScript.h"
#include "storage/CPieceFile64.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// The profile the program reads and writes.
inline QSettings& ProgramProfile() {
    static QSettings settings(QStringLiteral("Tavrin Software"), QStringLiteral("QuexoPro"));
    settings.sync();
    return settings;
}

class FrameTestApp : public CWinApp, public CTextHandOff {
public:
    FrameTestApp() {
        SetRegistryKey(QStringLiteral("Tavrin Software"));
        m_nOpenTextMode = 1; // every test file opens in hex, whatever it holds
        m_pTemplate = AddDocTemplate(CMultiDocTemplate::Create<CQuexoDoc, CChildFrame, CQuexoView>(
            129, ViewCommands::AttachTo));
    }
    CDocTemplate* m_pTemplate;
};

class FrameTest : public TestFolderFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        Profile().clear();
        m_app = std::make_unique<FrameTestApp>();
        m_pMain = new CMainFrame;
        ASSERT_TRUE(m_pMain->LoadFrame());
        m_app->SetMainWnd(m_pMain);
    }

    void TearDown() override {
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QSettings& Profile() { return ProgramProfile(); }

    // Shows the main window as a start does.
    void Start() {
        m_pMain->RestoreWindowState();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pMain));
        Idle();
    }

    // One idle pass after the events now queued, as the running program does.
    void Idle() {
        QCoreApplication::processEvents();
        m_app->OnIdle();
    }

    CQuexoDoc* Open(const QByteArray& bytes, const QString& name = QStringLiteral("data.bin")) {
        auto* doc = qobject_cast<CQuexoDoc*>(m_app->OpenDocumentFile(Write(name, bytes)));
        Idle();
        return doc;
    }

    CQuexoView* ActiveView() const {
        CMDIChildWnd* frame = m_pMain->MDIGetActive();
        return frame ? qobject_cast<CQuexoView*>(frame->GetActiveView()) : nullptr;
    }

    QAction* Action(unsigned id) { return m_app->GetCommandAction(id); }

    QString Pane(int index) const { return m_pMain->GetStatusBar()->GetPaneText(index); }

    std::unique_ptr<FrameTestApp> m_app;
    CMainFrame* m_pMain = nullptr;
};
