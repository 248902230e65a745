// Close and edit as text: the document closes and its file goes to the
// desktop's text editor; handing over the last document ends the program.
#include "DocumentTestSupport.h"

#include "document/DocumentCommandIds.h"
#include "framework/PromptScript.h"

TEST_F(DocumentTest, EditAsTextOnOnlyDocumentClosesMainWindow) {
    const QString record = InstallRecordingEditor();
    PromptScript prompts;
    const QString path = Write("only.bin", Binary());
    ASSERT_NE(Open(path), nullptr);
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_EDITASTEXT));
    EXPECT_EQ(DocumentCount(), 0);
    EXPECT_EQ(WaitForRecord(record), path);
    QTest::qWait(1); // the close is posted
    EXPECT_FALSE(m_pMain->isVisible());
    EXPECT_EQ(prompts.Count(), 0);
}

TEST_F(DocumentTest, EditAsTextWithTwoDocumentsKeepsTheOther) {
    const QString record = InstallRecordingEditor();
    PromptScript prompts;
    CQuexoDoc* other = Open(Write("other.bin", Binary()));
    const QString path = Write("handed.bin", Binary());
    ASSERT_NE(other, nullptr);
    ASSERT_NE(Open(path), nullptr);
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_EDITASTEXT));
    EXPECT_EQ(WaitForRecord(record), path);
    EXPECT_TRUE(m_pMain->isVisible());
    ASSERT_EQ(DocumentCount(), 1);
    EXPECT_EQ(m_app->m_pTemplate->GetDocuments().front(), other);
    EXPECT_EQ(ActiveDocument(), other);
}

TEST_F(DocumentTest, EditAsTextOfModifiedDocumentAsksFirst) {
    const QString record = InstallRecordingEditor();
    PromptScript prompts;
    CQuexoDoc* doc = Open(Write("edited.bin", Binary()));
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);
    prompts.Answer(IDCANCEL);
    m_app->ExecuteCommand(ID_FILE_EDITASTEXT);
    EXPECT_EQ(prompts.LastText(), "Savegarde changée pour edited.bin?");
    EXPECT_EQ(DocumentCount(), 1);
    QTest::qWait(50);
    EXPECT_FALSE(QFile::exists(record)) << "nothing handed over after Cancel";
}

TEST_F(DocumentTest, EditAsTextWithoutEditorStillClosesTheDocument) {
    PromptScript prompts;
    ASSERT_NE(Open(Write("only.bin", Binary())), nullptr);
    m_app->ExecuteCommand(ID_FILE_EDITASTEXT);
    EXPECT_EQ(prompts.LastText(), "Unknown Error");
    EXPECT_EQ(DocumentCount(), 0);
    QTest::qWait(1);
    EXPECT_FALSE(m_pMain->isVisible());
}
