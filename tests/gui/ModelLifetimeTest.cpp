// The views never hold a model the document has freed: whenever the document
// replaces or drops its piece file, every view lets go of the old one (or
// moves to the new one) first, so a prompt or repaint in between reads only
// live memory.
#include "DocumentTestSupport.h"

#include "framework/Prompt.h"

namespace {

// Every grid of `doc` shows the document's model or nothing.
::testing::AssertionResult GridsHoldOnlyTheModel(const CQuexoDoc& doc) {
    for (CView* view : doc.GetViews()) {
        const CHexGridWnd& grid = static_cast<CQuexoView*>(view)->GetGrid();
        if (grid.GetFile() && grid.GetFile() != doc.GetPieceFile())
            return ::testing::AssertionFailure() << "a grid holds a model the document let go";
    }
    return ::testing::AssertionSuccess();
}

void RepaintViews(const CQuexoDoc& doc) {
    for (CView* view : doc.GetViews())
        static_cast<CQuexoView*>(view)->GetGrid().viewport()->repaint();
}

} // namespace

TEST_F(DocumentTest, AQuestionWhileOpeningIntoADocumentFindsNoGridOnTheFreedModel) {
    CQuexoDoc* doc = Open(Write("data.bin", QByteArray(4096, '\x01')));
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->GetViews().size(), 1u);
    QCoreApplication::processEvents();

    // The "open as text?" question comes after the old model is gone; the
    // window behind it repaints while it is up.
    const QString text = Write("notes.txt", Text());
    m_app->m_nOpenTextMode = 2;
    int asked = 0;
    bool sound = false;
    PromptService::Handler previous = PromptService::SetHandler([&](const PromptRequest&) {
        ++asked;
        sound = GridsHoldOnlyTheModel(*doc);
        RepaintViews(*doc);
        return IDNO;
    });
    const bool opened = doc->OnOpenDocument(text);
    PromptService::SetHandler(previous);

    ASSERT_TRUE(opened);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(sound);
    EXPECT_TRUE(GridsHoldOnlyTheModel(*doc));
    auto* view = static_cast<CQuexoView*>(doc->GetViews().front());
    EXPECT_EQ(view->GetGrid().GetFile(), doc->GetPieceFile());
    EXPECT_EQ(view->GetGrid().GetLength(), Text().size());
}

TEST(ModelLifetime, ViewsMoveToAnAttachedModelAndLetGoOfADestroyedDocument) {
    auto doc = std::make_unique<CQuexoDoc>();
    doc->m_bAutoDelete = false;
    ASSERT_TRUE(doc->OnNewDocument());
    doc->GetPieceFile()->Insert(300, 0x02);
    CQuexoView view;
    doc->AddView(&view);
    view.OnInitialUpdate();
    view.GetGrid().SetCaret(100, false);

    auto replacement = std::make_unique<CPieceFile64>();
    replacement->Insert(200, 0x33);
    CPieceFile64* model = replacement.get();
    doc->AttachFile(std::move(replacement));
    EXPECT_EQ(view.GetGrid().GetFile(), model);
    EXPECT_EQ(view.GetGrid().GetLength(), 200);
    EXPECT_EQ(view.GetGrid().GetCaret(), 100);

    // A document going while a view of it is still there (the framework
    // closes its views first; nothing should rely on that).
    doc.reset();
    EXPECT_EQ(view.GetGrid().GetFile(), nullptr);
    view.GetGrid().viewport()->repaint();
}
