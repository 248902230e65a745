// The editing commands live above the view and are given to it by whoever
// creates it: every view the program makes, the first window of a document
// and a second one alike, must answer each of them, each on its own caret.
#include "AppTestSupport.h"

#include "commands/BinaryClipboard.h"
#include "display/CQuexoView.h"
#include "display/ViewCommandIds.h"
#include "frames/CMainFrame.h"
#include "framework/CMDIChildWnd.h"
#include "framework/PromptScript.h"
#include "framework/StdCommandIds.h"

namespace {

CQuexoView* ActiveView(CQuexoApp& app) {
    CMDIChildWnd* child = app.GetMainFrame() ? app.GetMainFrame()->MDIGetActive() : nullptr;
    return child ? qobject_cast<CQuexoView*>(child->GetActiveView()) : nullptr;
}

const unsigned kEditCommands[] = {
    ID_EDIT_COPY,    ID_EDIT_CUT,     ID_EDIT_PASTE,    ID_EDIT_DELETE, ID_EDIT_INSERT,
    ID_EDIT_GOTO,    ID_EDIT_UNDO,    ID_EDIT_REDO,     ID_EDIT_FIND,   ID_EDIT_FINDNEXT,
    ID_EDIT_REPLACE, ID_EDIT_FINDALL, ID_EDIT_CHECKSUMS};

void ExpectEveryEditCommand(const CQuexoView& view) {
    for (const unsigned id : kEditCommands)
        EXPECT_TRUE(view.HasCommandHandler(id)) << "command " << id;
}

} // namespace

TEST_F(AppTest, EveryViewTheProgramMakesAnswersTheEditCommandsOnItsOwnCaret) {
    PromptScript prompts;
    ASSERT_TRUE(Start({Write("data.bin", QByteArray("\x00\x01\x02\x03\x04\x05\x06", 7))}));
    CQuexoView* first = ActiveView(*m_app);
    ASSERT_NE(first, nullptr);
    ExpectEveryEditCommand(*first);

    ASSERT_TRUE(m_app->ExecuteCommand(ID_WINDOW_NEW));
    CQuexoView* second = ActiveView(*m_app);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    ExpectEveryEditCommand(*second);

    // Copy from the active window takes its own selection, not the first's.
    first->SetPlace({2, 0});
    second->SetPlace({7, 4});
    ASSERT_TRUE(m_app->ExecuteCommand(ID_EDIT_COPY));
    EXPECT_EQ(BytesFromClipboard(), CByteString("\x04\x05\x06", 3));
    EXPECT_EQ(prompts.Count(), 0);
}
