// Insert and delete: the insert dialog's fields and checks, the delete
// question, and where caret and anchor end up.
#include "EditCommandsTestSupport.h"
#include "TestFolderFixture.h"

#include "commands/CInsertDlg.h"
#include "commands/EditCommands.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using edittest::Bytes;
using edittest::NewDoc;

namespace {

// A dialog step that checks the fields show 1 and 0, types `count` and
// `value` and presses OK.
DialogRunner::ModalHandler TypeAndAccept(const QString& count, const QString& value) {
    return [count, value](QDialog& dialog) {
        auto* insert = qobject_cast<CInsertDlg*>(&dialog);
        EXPECT_NE(insert, nullptr);
        if (!insert)
            return int(QDialog::Rejected);
        EXPECT_EQ(insert->windowTitle().toStdString(), "Inserer");
        EXPECT_EQ(insert->CountEdit()->text().toStdString(), "1");
        EXPECT_EQ(insert->ValueEdit()->text().toStdString(), "0");
        insert->CountEdit()->setText(count);
        insert->ValueEdit()->setText(value);
        insert->accept();
        return insert->result();
    };
}

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("data.bin"));
    EXPECT_TRUE(testfiles::WriteAll(path, bytes));
    return path;
}

} // namespace

TEST(InsertDeleteCommands, InsertPutsTheRunAtTheCaret) {
    PromptScript prompts;
    DialogScript dialogs;
    auto doc = NewDoc(Bytes({0, 1, 2, 3}));
    doc.Grid().SetCaret(2, true);
    doc.Grid().SetAnchor(2);

    dialogs.Then(TypeAndAccept(QStringLiteral("3"), QStringLiteral(" 255\t")));
    EditCommands::OnEditInsert(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), Bytes({0, 1, 0xFF, 0xFF, 0xFF, 2, 3}));
    EXPECT_EQ(doc.Grid().GetCaret(), 2);
    EXPECT_EQ(doc.Grid().GetAnchor(), 2);
    EXPECT_EQ(doc.Grid().GetLength(), 7); // the view reloaded the file
    EXPECT_TRUE(doc.Doc().IsModified());

    // The next opening shows 1 and 0 again; at the end the bytes are appended.
    doc.Grid().SetCaret(7, true);
    doc.Grid().SetAnchor(7);
    dialogs.Then(TypeAndAccept(QStringLiteral("2"), QStringLiteral("16")));
    EditCommands::OnEditInsert(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), Bytes({0, 1, 0xFF, 0xFF, 0xFF, 2, 3, 0x10, 0x10}));

    // Cancel changes nothing.
    doc.Doc().SetModifiedFlag(false);
    dialogs.Then([](QDialog&) { return int(QDialog::Rejected); });
    EditCommands::OnEditInsert(doc.Doc(), doc.View());
    EXPECT_EQ(doc.File().GetLength(), 9);
    EXPECT_FALSE(doc.Doc().IsModified());
    EXPECT_EQ(dialogs.Unexpected(), 0);
    EXPECT_EQ(prompts.Count(), 0);
}

TEST(InsertDeleteCommands, InsertDialogRefusesBadNumbersAndStaysOpen) {
    PromptScript prompts;
    DialogScript dialogs;
    auto doc = NewDoc(Bytes({0, 1}));
    dialogs.Then([&](QDialog& dialog) {
        auto& insert = static_cast<CInsertDlg&>(dialog);
        const std::pair<QString, QString> refused[] = {
            {QStringLiteral("1"), QStringLiteral("256")},
            {QStringLiteral("-1"), QStringLiteral("0")},
            {QStringLiteral("1"), QStringLiteral("0x10")},
            {QStringLiteral(""), QStringLiteral("0")},
            {QStringLiteral("4294967296"), QStringLiteral("0")},
        };
        for (const auto& [count, value] : refused) {
            insert.CountEdit()->setText(count);
            insert.ValueEdit()->setText(value);
            insert.accept();
            EXPECT_EQ(insert.result(), QDialog::Rejected) << count.toStdString();
            // The focus goes to the faulty field.
            QLineEdit* faulty =
                value == QStringLiteral("0") ? insert.CountEdit() : insert.ValueEdit();
            EXPECT_EQ(insert.focusWidget(), faulty) << count.toStdString();
        }
        // Corrected, the same opening is accepted.
        insert.CountEdit()->setText(QStringLiteral("1"));
        insert.ValueEdit()->setText(QStringLiteral("255"));
        insert.accept();
        return insert.result();
    });
    EditCommands::OnEditInsert(doc.Doc(), doc.View());

    ASSERT_EQ(prompts.Count(), 5);
    const std::string between = "SVP entrer un nombre entier entre 0 et 255.";
    const std::string positive = "SVP entrer un nombre entier positif.";
    EXPECT_EQ(prompts.Shown()[0].m_strText.toStdString(), between);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(prompts.Shown()[size_t(i)].m_strText.toStdString(), positive) << i;
    EXPECT_EQ(doc.Bytes(), Bytes({0xFF, 0, 1}));
}

TEST(InsertDeleteCommands, DeleteAsksThenRemovesTheSelection) {
    PromptScript prompts;
    auto doc = NewDoc(Bytes({0, 1, 2, 3}));
    doc.Select(1, 3);

    prompts.Answer(IDCANCEL);
    EditCommands::OnEditDelete(doc.Doc(), doc.View());
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText().toStdString(), "Supprimer 2 octet à 0x1 - 1 ?");
    EXPECT_EQ(prompts.Shown()[0].m_nButtons & MB_TYPEMASK, MB_OKCANCEL);
    EXPECT_EQ(doc.Bytes(), Bytes({0, 1, 2, 3}));
    EXPECT_FALSE(doc.Doc().IsModified());

    prompts.Answer(IDOK);
    EditCommands::OnEditDelete(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), Bytes({0, 3}));
    EXPECT_EQ(doc.Grid().GetCaret(), 1);
    EXPECT_EQ(doc.Grid().GetAnchor(), 1);
    EXPECT_EQ(doc.Grid().GetLength(), 2);
    EXPECT_TRUE(doc.Doc().IsModified());

    // Without a selection there is nothing to ask.
    EditCommands::OnEditDelete(doc.Doc(), doc.View());
    EXPECT_EQ(prompts.Count(), 2);
    EXPECT_EQ(prompts.Unexpected(), 0);
}

TEST(InsertDeleteCommands, DeleteBeyondFourGigabytesShowsTheFullOffset) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = WriteFile(dir, QByteArray());
    constexpr std::int64_t k4G = std::int64_t{1} << 32;
    ASSERT_TRUE(QFile::resize(path, k4G + 16)); // sparse
    auto doc = edittest::OpenDoc(QFile::encodeName(path).toStdString(), 0x22);
    doc.Select(k4G, k4G + 2);

    PromptScript prompts;
    prompts.Answer(IDOK);
    EditCommands::OnEditDelete(doc.Doc(), doc.View());
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText().toStdString(), "Supprimer 2 octet à 0x100000000 - 4294967296 ?");
    EXPECT_EQ(doc.File().GetLength(), k4G + 14);
    EXPECT_EQ(doc.Grid().GetCaret(), k4G);
    EXPECT_EQ(doc.Grid().GetAnchor(), k4G);
}

TEST(InsertDeleteCommands, ReadOnlyDocumentRefusesBoth) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = WriteFile(dir, QByteArray("\x00\x01\x02\x03", 4));
    auto doc = edittest::OpenDoc(QFile::encodeName(path).toStdString(), 0x20);
    const std::string refused =
        "Acces to " + QFile::encodeName(path).toStdString() + " est impossible.";
    doc.Select(1, 3);

    PromptScript prompts;
    DialogScript dialogs;
    dialogs.Then(TypeAndAccept(QStringLiteral("2"), QStringLiteral("0")));
    EditCommands::OnEditInsert(doc.Doc(), doc.View());
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText().toStdString(), refused);

    prompts.Answer(IDOK);
    EditCommands::OnEditDelete(doc.Doc(), doc.View());
    ASSERT_EQ(prompts.Count(), 3); // the question, then the refusal
    EXPECT_EQ(prompts.LastText().toStdString(), refused);

    EXPECT_EQ(doc.Bytes(), Bytes({0, 1, 2, 3}));
    EXPECT_EQ(doc.Grid().GetCaret(), 3);
    EXPECT_EQ(doc.Grid().GetAnchor(), 1);
    EXPECT_FALSE(doc.Doc().IsModified());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the wait cursor went
}
