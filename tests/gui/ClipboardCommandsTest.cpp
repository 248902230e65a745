// Copy and paste through the clipboard, which the offscreen platform keeps in
// the process: the private block between documents, plain text from elsewhere.
#include "EditCommandsTestSupport.h"
#include "TestFolderFixture.h"

#include "commands/ClipboardBlock.h"
#include "commands/EditCommands.h"
#include "framework/CCmdUI.h"
#include "framework/PromptScript.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>

using edittest::Bytes;
using edittest::NewDoc;
using namespace std::string_literals;

namespace {

QClipboard& Clipboard() {
    return *QGuiApplication::clipboard();
}

QString PrivateType() {
    return QString::fromLatin1(kClipboardMimeType);
}

QByteArray PrivateData() {
    const QMimeData* data = Clipboard().mimeData();
    return data ? data->data(PrivateType()) : QByteArray();
}

void PutPrivateBlock(const QByteArray& block, const QString& text = QString()) {
    auto* data = new QMimeData;
    data->setData(PrivateType(), block);
    if (!text.isNull())
        data->setText(text);
    Clipboard().setMimeData(data);
}

bool PasteEnabled() {
    CCmdUI ui(ID_EDIT_PASTE);
    EditCommands::OnUpdateEditPaste(&ui);
    return ui.m_bEnabled;
}

} // namespace

TEST(ClipboardCommands, BytesWithZeroTravelWholeBetweenDocuments) {
    PromptScript prompts;
    auto source = NewDoc(Bytes({0x10, 0x41, 0x00, 0x42, 0x11}));
    source.Select(4, 1); // caret before the anchor: the selection is still 1 ... 3
    EditCommands::OnEditCopy(source.View());

    EXPECT_EQ(PrivateData(), QByteArray("\x03\x00\x00\x00\x41\x00\x42", 7));
    EXPECT_EQ(Clipboard().text(), QStringLiteral("A")); // what another program reads
    // Copying changes neither the selection nor the document.
    EXPECT_EQ(source.Grid().GetCaret(), 1);
    EXPECT_EQ(source.Grid().GetAnchor(), 4);
    EXPECT_FALSE(source.Doc().IsModified());

    auto target = NewDoc(std::vector<unsigned char>(8, 0xEE));
    target.Select(6, 2); // a selection does not limit the paste
    EditCommands::OnEditPaste(target.Doc(), target.View());
    EXPECT_EQ(target.Bytes(), Bytes({0xEE, 0xEE, 0x41, 0x00, 0x42, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(target.Grid().GetCaret(), 5);
    EXPECT_EQ(target.Grid().GetAnchor(), 5);
    EXPECT_EQ(target.Grid().GetLength(), 8);
    EXPECT_TRUE(target.Doc().IsModified());
    EXPECT_EQ(prompts.Count(), 0);
}

TEST(ClipboardCommands, TextFromAnotherProgramPastesByteForByte) {
    auto doc = NewDoc(std::vector<unsigned char>(8, 0x00));
    doc.Grid().SetCharSet(1); // no translation in EBCDIC mode either
    Clipboard().setText(QStringLiteral("41 42"));
    EditCommands::OnEditPaste(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), Bytes({0x34, 0x31, 0x20, 0x34, 0x32, 0, 0, 0}));
    EXPECT_EQ(doc.Grid().GetCaret(), 5);

    // Latin-1 characters are single bytes.
    Clipboard().setText(QStringLiteral("\u00e9\u00ff"));
    doc.Grid().SetCaret(0, true);
    doc.Grid().SetAnchor(0);
    EditCommands::OnEditPaste(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), Bytes({0xE9, 0xFF, 0x20, 0x34, 0x32, 0, 0, 0}));
}

TEST(ClipboardCommands, CopyLimitIsTwentyMegabytes) {
    PromptScript prompts;
    constexpr std::int64_t kLimit = 20971520;
    auto doc = NewDoc({});
    doc.Doc().InsertBytes(0, static_cast<std::uint32_t>(kLimit + 1), 0x41);

    doc.Select(0, kLimit);
    EditCommands::OnEditCopy(doc.View());
    EXPECT_EQ(prompts.Count(), 0);
    const QByteArray block = PrivateData();
    ASSERT_EQ(block.size(), kLimit + 4);
    EXPECT_EQ(block.left(4), QByteArray("\x00\x00\x40\x01", 4));
    EXPECT_EQ(Clipboard().text().size(), kLimit);

    Clipboard().setText(QStringLiteral("before"));
    doc.Select(0, kLimit + 1);
    EditCommands::OnEditCopy(doc.View());
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText().toStdString(),
              "Ne peut pas mêtre plus de 20 Mo dans le presse-papiers .");
    EXPECT_EQ(prompts.Shown().back().m_nButtons, MB_OK);
    EXPECT_EQ(Clipboard().text(), QStringLiteral("before"));
}

TEST(ClipboardCommands, PasteIsCutAtTheEndOfTheContent) {
    auto doc = NewDoc(std::vector<unsigned char>(10, 0x00));
    Clipboard().setText(QStringLiteral("ABCDE"));

    doc.Grid().SetCaret(7, true);
    doc.Grid().SetAnchor(7);
    EditCommands::OnEditPaste(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), Bytes({0, 0, 0, 0, 0, 0, 0, 0x41, 0x42, 0x43}));
    EXPECT_EQ(doc.File().GetLength(), 10);
    EXPECT_EQ(doc.Grid().GetCaret(), 10);
    EXPECT_EQ(doc.Grid().GetAnchor(), 10);

    // At the end nothing is written and the document is not marked modified.
    doc.Doc().SetModifiedFlag(false);
    EditCommands::OnEditPaste(doc.Doc(), doc.View());
    EXPECT_EQ(doc.File().GetLength(), 10);
    EXPECT_EQ(doc.Grid().GetCaret(), 10);
    EXPECT_FALSE(doc.Doc().IsModified());
}

TEST(ClipboardCommands, HostileBlockWritesOnlyWhatItHolds) {
    PromptScript prompts;
    auto doc = NewDoc(std::vector<unsigned char>(16, 0x00));

    // The length field claims 1000 (and 0xFFFFFFFF: -1 read as signed) bytes.
    for (const QByteArray& header : {QByteArray("\xE8\x03\x00\x00", 4), QByteArray(4, '\xFF')}) {
        doc.Select(2, 2);
        PutPrivateBlock(header + QByteArray("\x61\x62\x63", 3));
        EditCommands::OnEditPaste(doc.Doc(), doc.View());
        EXPECT_EQ(doc.Bytes(), Bytes({0, 0, 0x61, 0x62, 0x63, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(doc.Grid().GetCaret(), 5);
    }

    // Too short for its length field: no block, so the text is pasted.
    doc.Select(0, 0);
    PutPrivateBlock(QByteArray("\x05\x00", 2), QStringLiteral("Z"));
    EditCommands::OnEditPaste(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes()[0], 0x5A);
    EXPECT_EQ(doc.Grid().GetCaret(), 1);

    // And without text, nothing.
    PutPrivateBlock(QByteArray("\x05", 1));
    EditCommands::OnEditPaste(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes()[1], 0x00);
    EXPECT_EQ(doc.Grid().GetCaret(), 1);
    EXPECT_EQ(doc.File().GetLength(), 16);
    EXPECT_EQ(prompts.Count(), 0);
}

TEST(ClipboardCommands, UpdateStates) {
    Clipboard().setText(QStringLiteral("41 42"));
    EXPECT_TRUE(PasteEnabled());
    PutPrivateBlock(QByteArray("\x01\x00\x00\x00\x07", 5));
    EXPECT_TRUE(PasteEnabled());
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    Clipboard().setImage(image);
    EXPECT_FALSE(PasteEnabled());
    Clipboard().clear();
    EXPECT_FALSE(PasteEnabled());

    // Copy and delete need a selection; copy with none leaves the clipboard.
    auto doc = NewDoc(Bytes({1, 2, 3}));
    CCmdUI copy(ID_EDIT_COPY);
    EditCommands::OnUpdateEditCopy(doc.View(), &copy);
    CCmdUI del(32775);
    EditCommands::OnUpdateEditDelete(doc.View(), &del);
    EXPECT_FALSE(copy.m_bEnabled);
    EXPECT_FALSE(del.m_bEnabled);
    Clipboard().setText(QStringLiteral("kept"));
    EditCommands::OnEditCopy(doc.View());
    EXPECT_EQ(Clipboard().text(), QStringLiteral("kept"));

    doc.Select(3, 2);
    EditCommands::OnUpdateEditCopy(doc.View(), &copy);
    EditCommands::OnUpdateEditDelete(doc.View(), &del);
    EXPECT_TRUE(copy.m_bEnabled);
    EXPECT_TRUE(del.m_bEnabled);
}

TEST(ClipboardCommands, RefusedPasteKeepsCaretAndDocument) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("locked.bin"));
    ASSERT_TRUE(testfiles::WriteAll(path, QByteArray("\x00\x01\x02\x03", 4)));
    auto doc = edittest::OpenDoc(QFile::encodeName(path).toStdString(), 0x20);
    ASSERT_TRUE(doc.Doc().m_bReadOnly);
    doc.Select(3, 1);

    PromptScript prompts;
    Clipboard().setText(QStringLiteral("AB"));
    EditCommands::OnEditPaste(doc.Doc(), doc.View());
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText().toStdString(),
              "Acces to " + QFile::encodeName(path).toStdString() + " est impossible.");
    EXPECT_EQ(doc.Bytes(), Bytes({0, 1, 2, 3}));
    EXPECT_EQ(doc.Grid().GetCaret(), 1);
    EXPECT_EQ(doc.Grid().GetAnchor(), 3);
    EXPECT_FALSE(doc.Doc().IsModified());
}

TEST(ClipboardCommands, HighBytesTravelAsTheCharactersTheGridShows) {
    PromptScript prompts;
    std::vector<unsigned char> high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high.push_back(static_cast<unsigned char>(b));
    auto doc = NewDoc(high);
    doc.Select(0, static_cast<std::int64_t>(high.size()));
    EditCommands::OnEditCopy(doc.View());
    const QString text = Clipboard().text();
    ASSERT_EQ(text.size(), 128);
    EXPECT_EQ(text[0], QChar(0x20AC));           // the euro sign
    EXPECT_EQ(text[0x99 - 0x80], QChar(0x2122)); // the trade mark sign
    EXPECT_EQ(text[0xE9 - 0x80], QChar(0xE9));

    // The same text from another program pastes back as the same bytes.
    Clipboard().setText(text);
    auto other = NewDoc(std::vector<unsigned char>(128, 0));
    EditCommands::OnEditPaste(other.Doc(), other.View());
    EXPECT_EQ(other.Bytes(), high);
    Clipboard().setText(QStringLiteral("\u20ac\u2122\u03a9"));
    other.Select(0, 0);
    EditCommands::OnEditPaste(other.Doc(), other.View());
    EXPECT_EQ(other.Bytes()[0], 0x80);
    EXPECT_EQ(other.Bytes()[1], 0x99);
    EXPECT_EQ(other.Bytes()[2], '?'); // no byte for it
    EXPECT_EQ(prompts.Count(), 0);
}
