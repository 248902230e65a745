// Printing into a PDF file: the file being printed and anything but a regular
// file are refused, an older PDF stays whole until a new one is complete, and
// printing from the command line never asks a question.
#include "PrintTestSupport.h"

#include "app/CommandLinePrint.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CProgress.h"
#include "framework/PromptScript.h"
#include "framework/StdCommandIds.h"

#include <QDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class PrintToFileTest : public PrintingTest {
protected:
    int PrintTo(const QString& file, const QString& pdf) {
        CCommandLineInfo info;
        info.Parse({"/pt", file, pdf});
        return PrintFromCommandLine(*m_app, info);
    }
    QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList Leftovers() { return QDir(m_dir.path()).entryList({"qxo*.tmp"}, QDir::Files); }
};

} // namespace

TEST_F(PrintToFileTest, TheFileBeingPrintedIsNeverTheOutput) {
    PromptScript prompts;
    const QByteArray content = Counting(40);
    const QString file = Write("data.pdf", content);
    EXPECT_NE(PrintTo(file, file), 0);
    EXPECT_EQ(Read(file), content) << "the input is untouched";
    EXPECT_TRUE(prompts.LastText().contains(QString::fromUtf8("est le fichier à imprimer")))
        << prompts.LastText().toStdString();

    // The same file under another name: a hard link, a link, a path with "..".
    const QString hard = Path("hard.pdf");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(hard).constData()), 0);
    const QString soft = Path("soft.pdf");
    ASSERT_TRUE(QFile::link(file, soft));
    for (const QString& alias : {hard, soft, Path("sub/../data.pdf")}) {
        QDir(m_dir.path()).mkpath("sub");
        const int shown = prompts.Count();
        EXPECT_NE(PrintTo(file, alias), 0) << alias.toStdString();
        EXPECT_EQ(prompts.Count(), shown + 1);
        EXPECT_EQ(Read(file), content) << alias.toStdString();
    }
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0);
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(PrintToFileTest, OnlyRegularFilesReceiveThePdf) {
    PromptScript prompts;
    const QString file = Write("data.bin", Counting(20));
    const QString folder = Path("folder.pdf");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.pdf"));
    const QString fifo = Path("fifo.pdf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& target : {folder, fifo}) {
        const int shown = prompts.Count();
        EXPECT_NE(PrintTo(file, target), 0) << target.toStdString();
        EXPECT_EQ(prompts.Count(), shown + 1);
        EXPECT_TRUE(prompts.LastText().contains("n'est pas un fichier ordinaire"));
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFileInfo(fifo).isFile()) << "the named pipe is still one";

    // A link to a PDF is written through and stays a link.
    const QString real = Write("real.pdf", "old");
    const QString link = Path("link.pdf");
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_EQ(PrintTo(file, link), 0);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Lines(PdfText(real)).size(), 2);
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(PrintToFileTest, AnOlderPdfStaysWholeUntilTheNewOneIsDone) {
    Start();
    const QByteArray older = "%PDF older, complete";
    Write("out.pdf", older);
    g_rcPrintMargins = PrintMargins{1000, 1000, 1000, 11000}; // one line a page
    ASSERT_NE(Open(Counting(16 * 50)), nullptr);
    CProgress::SetDelayForTests(0);
    const CProgress::Observer previous = CProgress::SetObserverForTests([](CProgress& progress) {
        if (progress.Dialog())
            progress.Dialog()->cancel();
    });
    const PrintOutcome outcome = PrintView(*ActiveView(), AfxGetPrinter(), true);
    CProgress::SetObserverForTests(previous);
    CProgress::SetDelayForTests(-1);
    EXPECT_EQ(outcome, PrintOutcome::Cancelled);
    EXPECT_EQ(Read(m_pdf), older);
    EXPECT_EQ(AfxGetPrinter().outputFileName(), m_pdf) << "the printer keeps its file name";
    EXPECT_TRUE(Leftovers().isEmpty());

    // Done, the new PDF takes its place, readable as an ordinary new file is.
    ASSERT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT_DIRECT));
    EXPECT_EQ(PdfPages(m_pdf), 50);
    EXPECT_TRUE(QFile::permissions(m_pdf) & QFileDevice::ReadOther);
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(PrintToFileTest, CommandLineNeverAsksAboutTextFiles) {
    PromptScript prompts;
    const QString file = Write("notes.txt", "Plain text, nothing else.\n");
    m_app->m_nOpenTextMode = 2; // ask
    EXPECT_EQ(PrintTo(file, Path("notes.pdf")), 0);
    EXPECT_EQ(prompts.Count(), 0) << prompts.LastText().toStdString();
    const QStringList lines = Lines(PdfText(Path("notes.pdf")));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("00000000 50 6C 61 69 6E")) << lines[0].toStdString();
    EXPECT_EQ(m_app->m_nOpenTextMode, 2) << "the user's setting is kept";
}
