// Command routing: view, document, child frame, main frame, application; update
// handlers; commands nobody handles; the error report at the command boundary.
#include "framework/CDocTemplate.h"
#include "framework/CDocument.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/PromptScript.h"
#include "storage/CFileException.h"

#include <QAction>
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

QStringList g_calls;

// Each routed class lets the test register handlers.
template <class Base> class Routed : public Base {
public:
    using CCmdTarget::OnCommand;
    using CCmdTarget::OnUpdateCommand;
};

class RoutingDoc : public Routed<CDocument> {};
class RoutingView : public Routed<CView> {};
class RoutingFrame : public Routed<CMDIChildWnd> {};
class RoutingMain : public Routed<CMDIFrameWnd> {};
class RoutingApp : public Routed<CWinApp> {};

constexpr unsigned kAll = 40000, kFromDoc = 40001, kFromFrame = 40002, kFromMain = 40003,
                   kFromApp = 40004, kNobody = 40099, kChecked = 40010, kThrows = 40020,
                   kOutOfMemory = 40021, kOther = 40022;

class CommandRouting : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        m_app = std::make_unique<RoutingApp>();
        m_app->AddDocTemplate(std::make_unique<CMultiDocTemplate>(
            129, [] { return new RoutingDoc; }, [] { return new RoutingFrame; },
            [] { return new RoutingView; }));
        m_pMain = new RoutingMain;
        m_app->SetMainWnd(m_pMain);
        m_pMain->show();
        m_app->ExecuteCommand(ID_FILE_NEW);
        CMDIChildWnd* frame = m_pMain->MDIGetActive();
        ASSERT_NE(frame, nullptr);
        m_pFrame = static_cast<RoutingFrame*>(frame);
        m_pView = static_cast<RoutingView*>(frame->GetActiveView());
        m_pDoc = static_cast<RoutingDoc*>(m_pView->GetDocument());

        const auto record = [](const char* who) { return [who] { g_calls << who; }; };
        m_pView->OnCommand(kAll, record("view"));
        for (unsigned id : {kAll, kFromDoc})
            m_pDoc->OnCommand(id, record("doc"));
        for (unsigned id : {kAll, kFromDoc, kFromFrame})
            m_pFrame->OnCommand(id, record("frame"));
        for (unsigned id : {kAll, kFromDoc, kFromFrame, kFromMain})
            m_pMain->OnCommand(id, record("main"));
        for (unsigned id : {kAll, kFromDoc, kFromFrame, kFromMain, kFromApp})
            m_app->OnCommand(id, record("app"));
    }
    void TearDown() override {
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<RoutingApp> m_app;
    RoutingMain* m_pMain = nullptr;
    RoutingFrame* m_pFrame = nullptr;
    RoutingView* m_pView = nullptr;
    RoutingDoc* m_pDoc = nullptr;
};

} // namespace

TEST_F(CommandRouting, FirstTargetInChainHandlesTheCommand) {
    for (unsigned id : {kAll, kFromDoc, kFromFrame, kFromMain, kFromApp})
        EXPECT_TRUE(m_app->ExecuteCommand(id));
    EXPECT_EQ(g_calls, (QStringList{"view", "doc", "frame", "main", "app"}));
}

TEST_F(CommandRouting, CommandNobodyHandlesIsDisabled) {
    QAction* nobody = m_app->GetCommandAction(kNobody);
    QAction* handled = m_app->GetCommandAction(kFromApp);
    m_app->OnIdle();
    EXPECT_FALSE(nobody->isEnabled());
    EXPECT_TRUE(handled->isEnabled());
    EXPECT_FALSE(m_app->ExecuteCommand(kNobody));

    // Without a document window the document's commands go away too.
    QAction* fromDoc = m_app->GetCommandAction(ID_FILE_CLOSE);
    m_app->OnIdle();
    EXPECT_TRUE(fromDoc->isEnabled());
    m_app->ExecuteCommand(ID_FILE_CLOSE);
    m_app->OnIdle();
    EXPECT_FALSE(fromDoc->isEnabled());
}

TEST_F(CommandRouting, UpdateHandlerDecidesStateAndDisabledCommandDoesNotRun) {
    bool enabled = false;
    m_pDoc->OnCommand(kChecked, [] { g_calls << "checked"; });
    m_pDoc->OnUpdateCommand(kChecked, [&enabled](CCmdUI* ui) {
        ui->Enable(enabled);
        ui->SetCheck(1);
        ui->SetText(QStringLiteral("Texte choisi"));
    });
    QAction* action = m_app->GetCommandAction(kChecked);
    m_app->OnIdle();
    EXPECT_FALSE(action->isEnabled());
    EXPECT_TRUE(action->isChecked());
    EXPECT_EQ(action->text(), "Texte choisi");
    EXPECT_FALSE(m_app->ExecuteCommand(kChecked)) << "a shortcut must not run a disabled command";
    EXPECT_TRUE(g_calls.isEmpty());

    enabled = true;
    EXPECT_TRUE(m_app->ExecuteCommand(kChecked));
    EXPECT_EQ(g_calls, QStringList{"checked"});

    // An update handler that only checks leaves the enabling to the handler's
    // existence.
    m_pMain->OnUpdateCommand(kFromMain, [](CCmdUI* ui) { ui->SetCheck(0); });
    CCmdUI ui(kFromMain);
    m_app->UpdateCmdUI(&ui);
    EXPECT_TRUE(ui.m_bEnabled);
}

TEST_F(CommandRouting, IdlePassRunsFromTheEventLoop) {
    bool enabled = false;
    m_pView->OnCommand(kChecked, [] {});
    m_pView->OnUpdateCommand(kChecked, [&enabled](CCmdUI* ui) { ui->Enable(enabled); });
    QAction* action = m_app->GetCommandAction(kChecked);
    m_app->OnIdle();
    ASSERT_FALSE(action->isEnabled());
    enabled = true;
    m_app->RequestIdle();
    QTest::qWait(1);
    EXPECT_TRUE(action->isEnabled());
}

TEST_F(CommandRouting, ExceptionsEscapingCommandsAreReportedWithStopIcon) {
    m_pView->OnCommand(kThrows,
                       [] { throw CFileException(CFileException::diskFull, 28, "/data/big.bin"); });
    m_pView->OnCommand(kOutOfMemory, [] { throw std::bad_alloc(); });
    m_pView->OnCommand(kOther, [] { throw std::runtime_error("internal"); });
    PromptScript prompts;
    for (unsigned id : {kThrows, kOutOfMemory, kOther})
        EXPECT_TRUE(m_app->ExecuteCommand(id));
    ASSERT_EQ(prompts.Count(), 3);
    EXPECT_EQ(prompts.Shown()[0].m_strText,
              "Le Disque est plein lors  de l'acces de /data/big.bin.");
    EXPECT_EQ(prompts.Shown()[1].m_strText, "Mémoire insuffisante.");
    EXPECT_EQ(prompts.Shown()[2].m_strText, "La commande a échoué.");
    for (const PromptRequest& shown : prompts.Shown()) {
        EXPECT_EQ(shown.m_nIcon, MB_ICONSTOP);
        EXPECT_EQ(shown.m_nButtons, MB_OK);
        EXPECT_EQ(shown.m_strCaption, "QuexoPro");
    }
}

TEST_F(CommandRouting, NewWindowNumbersFramesAndLastFrameClosesDocument) {
    EXPECT_EQ(m_pDoc->GetTitle(), "Quexo Pro1");
    EXPECT_TRUE(m_app->ExecuteCommand(ID_WINDOW_NEW));
    ASSERT_EQ(m_pDoc->GetFrames().size(), 2u);
    EXPECT_EQ(m_pDoc->GetFrames()[0]->windowTitle(), "Quexo Pro1:1");
    EXPECT_EQ(m_pDoc->GetFrames()[1]->windowTitle(), "Quexo Pro1:2");
    EXPECT_EQ(m_pMain->windowTitle(), "Quexo Pro1:2");

    m_pDoc->SetModifiedFlag(true);
    PromptScript prompts;
    m_pDoc->GetFrames()[1]->close();
    EXPECT_EQ(prompts.Count(), 0) << "another window still shows the document";
    ASSERT_EQ(m_pDoc->GetFrames().size(), 1u);
    EXPECT_EQ(m_pDoc->GetFrames()[0]->windowTitle(), "Quexo Pro1");

    prompts.Answer(IDNO);
    QPointer<CDocument> doc = m_pDoc;
    m_pDoc->GetFrames()[0]->close();
    EXPECT_EQ(prompts.Count(), 1);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(doc.isNull());
}
