// Every way of editing goes through the document: the revision moves, the
// document is marked modified and every view of it repaints, while the
// piece file's position is left to the search that set it.
#include "EditCommandsTestSupport.h"

#include "commands/CInsertDlg.h"
#include "commands/ClipboardBlock.h"
#include "display/ViewCommandIds.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"
#include "framework/StdCommandIds.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

#include <functional>
#include <string>

using edittest::Bytes;
using edittest::NewDoc;

namespace {

struct Route {
    const char* name;
    std::function<void(edittest::EditDoc&)> edit;
    std::vector<unsigned char> expected;
};

void PutOnClipboard(const QByteArray& bytes) {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kClipboardMimeType), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

bool Repainted(const CHexGridWnd& grid) {
    return QTest::qWaitFor([&grid] { return grid.RowsFormatted() > 0; }, 2000);
}

} // namespace

TEST(EditPath, EveryRouteBumpsTheRevisionMarksModifiedAndRepaintsEveryView) {
    const std::vector<Route> routes = {
        {"typing",
         [](edittest::EditDoc& doc) {
             doc.Grid().SetCaret(1, true);
             doc.Grid().setFocus();
             QTest::keyClicks(&doc.Grid(), "ab");
         },
         Bytes({0, 0xAB, 2, 3})},
        {"paste",
         [](edittest::EditDoc& doc) {
             PutOnClipboard(QByteArray("\x02\x00\x00\x00\x77\x78", 6));
             doc.Select(2, 2);
             doc.View().OnCmdMsg(ID_EDIT_PASTE);
         },
         Bytes({0, 1, 0x77, 0x78})},
        {"insert",
         [](edittest::EditDoc& doc) {
             DialogScript dialogs;
             dialogs.Then([](QDialog& dialog) {
                 auto& insert = dynamic_cast<CInsertDlg&>(dialog);
                 insert.CountEdit()->setText(QStringLiteral("2"));
                 insert.ValueEdit()->setText(QStringLiteral("9"));
                 insert.accept();
                 return insert.result();
             });
             doc.Select(3, 3);
             doc.View().OnCmdMsg(ID_EDIT_INSERT);
         },
         Bytes({0, 1, 2, 9, 9, 3})},
        {"delete",
         [](edittest::EditDoc& doc) {
             PromptScript prompts;
             prompts.Answer(IDOK);
             doc.Select(0, 2);
             doc.View().OnCmdMsg(ID_EDIT_DELETE);
         },
         Bytes({2, 3})},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        auto doc = NewDoc(Bytes({0, 1, 2, 3}));
        const auto second = edittest::ShowView(doc.Doc());
        QCoreApplication::processEvents();
        // A search has just put the position somewhere; edits that do not
        // change the length must leave it there.
        doc.File().Seek(1, CFile64::begin);
        const std::uint64_t revision = doc.Doc().GetRevision();
        doc.Grid().ResetRowsFormatted();
        second->GetGrid().ResetRowsFormatted();

        route.edit(doc);

        EXPECT_EQ(doc.Bytes(), route.expected);
        EXPECT_GT(doc.Doc().GetRevision(), revision);
        EXPECT_TRUE(doc.Doc().IsModified());
        EXPECT_EQ(second->GetGrid().GetLength(), doc.File().GetLength());
        EXPECT_TRUE(Repainted(doc.Grid()));
        EXPECT_TRUE(Repainted(second->GetGrid()));
        if (route.expected.size() == 4) {
            EXPECT_EQ(doc.File().GetPosition(), 1);
        }
        doc.Doc().RemoveView(second.get());
    }
}

TEST(EditPath, ReplaceTakesAnyLengthAndEndsAfterTheNewBytes) {
    auto doc = NewDoc(Bytes({0, 1, 2, 3, 4}));
    const char same[] = {7, 8};
    doc.Doc().ReplaceBytes({1, 2}, same, 2);
    EXPECT_EQ(doc.Bytes(), Bytes({0, 7, 8, 3, 4}));
    EXPECT_EQ(doc.File().GetPosition(), 3);

    const char longer[] = {5, 5, 5};
    doc.Doc().ReplaceBytes({0, 1}, longer, 3);
    EXPECT_EQ(doc.Bytes(), Bytes({5, 5, 5, 7, 8, 3, 4}));
    EXPECT_EQ(doc.File().GetPosition(), 3);
    EXPECT_EQ(doc.Grid().GetLength(), 7);

    doc.Doc().ReplaceBytes({3, 4}, nullptr, 0);
    EXPECT_EQ(doc.Bytes(), Bytes({5, 5, 5}));
    EXPECT_TRUE(doc.Doc().IsModified());

    // An empty range and no bytes is no edit at all.
    doc.Doc().SetModifiedFlag(false);
    const std::uint64_t revision = doc.Doc().GetRevision();
    doc.Doc().ReplaceBytes({1, 0}, nullptr, 0);
    EXPECT_EQ(doc.Doc().GetRevision(), revision);
    EXPECT_FALSE(doc.Doc().IsModified());
}
