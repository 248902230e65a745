// Printing read back from PDF: the dump's lines, the selection, the margins,
// the pages, preview, print margins and printing from the command line.
#include "FrameTestSupport.h"
#include "PrintTestSupport.h"
#include "ProgressTestSupport.h"

#include "app/CommandLinePrint.h"
#include "display/DisplayGlobals.h"
#include "display/HexPrinter.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CPrintPreviewDlg.h"
#include "framework/CProgress.h"
#include "framework/DialogScript.h"
#include "framework/StdCommandIds.h"
#include "framework/ViewPrinting.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

TEST_F(PrintingTest, PrintDialogOffersTheSelectionAndItsBytesOnly) {
    Start();
    ASSERT_NE(Open(Counting(64)), nullptr);
    for (const unsigned id :
         {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW, ID_FILE_PAGE_SETUP})
        EXPECT_TRUE(Action(id)->isEnabled()) << id;

    // Without a selection the dialog offers none and the whole file prints.
    bool offered = true;
    DialogScript script;
    script.Then([&](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(print, nullptr);
        offered = print && print->testOption(QAbstractPrintDialog::PrintSelection);
        EXPECT_FALSE(print && print->testOption(QAbstractPrintDialog::PrintPageRange));
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT));
    EXPECT_FALSE(offered);
    EXPECT_EQ(Lines(PdfText(m_pdf)).size(), 4);

    // A 20-byte selection from offset 5: proposed, and two lines, the second
    // one with the selection's last 4 bytes only.
    Select(5, 20);
    QFile::remove(m_pdf);
    script.Then([&](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        offered = print && print->testOption(QAbstractPrintDialog::PrintSelection);
        EXPECT_EQ(AfxGetPrinter().printRange(), QPrinter::Selection);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT));
    EXPECT_TRUE(offered);
    const QStringList lines = Lines(PdfText(m_pdf));
    ASSERT_EQ(lines.size(), 2) << PdfText(m_pdf).toStdString();
    EXPECT_TRUE(lines[0].startsWith("00000005 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14"));
    EXPECT_EQ(lines[1].simplified(), "00000015 15 16 17 18 ....");

    // The user may still choose the whole file.
    QFile::remove(m_pdf);
    script.Then([](QDialog&) {
        AfxGetPrinter().setPrintRange(QPrinter::AllPages);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT));
    EXPECT_EQ(Lines(PdfText(m_pdf)).size(), 4);

    // Cancel prints nothing.
    QFile::remove(m_pdf);
    script.Then([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT));
    EXPECT_FALSE(QFile::exists(m_pdf));
    EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(PrintingTest, AddressBaseAndUpperCharacters) {
    Start();
    QByteArray bytes = Counting(32);
    bytes[16] = char(0xE9);
    ASSERT_NE(Open(bytes), nullptr);

    g_bHexAddress = 0;
    g_bUpperChars = 0;
    ActiveView()->GetGrid().SetHexAddress(false);
    QStringList lines = Lines(PrintDirect());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("00000016 E9 11")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("................"));

    g_bHexAddress = 1;
    g_bUpperChars = 1;
    ActiveView()->GetGrid().SetHexAddress(true);
    ActiveView()->GetGrid().SetCharSet(kCharSetEbcdic); // the view's character set never applies
    lines = Lines(PrintDirect());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("00000010 E9 11"));
    EXPECT_TRUE(lines[1].endsWith(QString::fromUtf8("é..............."))) << lines[1].toStdString();
}

TEST_F(PrintingTest, EmptyFilePrintsOnePageWithoutLines) {
    Start();
    ASSERT_NE(Open(QByteArray()), nullptr);
    EXPECT_TRUE(Lines(PrintDirect()).isEmpty());
    EXPECT_EQ(PdfPages(m_pdf), 1);
}

TEST_F(PrintingTest, MarginsCountFromThePaperEdges) {
    Start();
    ASSERT_NE(Open(Counting(16)), nullptr);
    // A printer whose printable area starts half an inch in.
    AfxGetPrinter().setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
    PrintDirect();
    QPointF corner = FirstWordCorner(m_pdf);
    EXPECT_NEAR(corner.x(), 72.0, 1.0) << "one inch from the left edge";
    EXPECT_NEAR(corner.y(), 72.0, 3.0) << "one inch from the top edge";

    // A printer that marks the whole sheet, and zero margins.
    AfxGetPrinter().setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    g_rcPrintMargins = PrintMargins{0, 0, 0, 0};
    PrintDirect();
    corner = FirstWordCorner(m_pdf);
    EXPECT_NEAR(corner.x(), 0.0, 1.0) << "the paper's corner";
    EXPECT_NEAR(corner.y(), 0.0, 3.0);
}

TEST_F(PrintingTest, PagesFollowLinesPerPageAndLastLinesStayShort) {
    Start();
    ASSERT_NE(Open(Counting(16), "probe.bin"), nullptr);
    const CQuexoView* probe = ActiveView();
    ASSERT_NE(probe, nullptr);
    const int dpi = probe->logicalDpiY();
    const int lines = MakePrintJob(AfxGetPrinter(), dpi, 0, 16, true, false)->plan.LinesPerPage();
    ASSERT_GT(lines, 10);
    const int lineCount = 2 * lines + 1;
    ASSERT_NE(Open(Counting(16 * lineCount - 3)), nullptr);
    const QStringList printed = Lines(PrintDirect());
    EXPECT_EQ(PdfPages(m_pdf), 3);
    ASSERT_EQ(printed.size(), lineCount);
    EXPECT_EQ(printed.back().simplified().section(' ', 1).split(' ').size() - 1, 13)
        << "13 pairs and the characters on the last line: " << printed.back().toStdString();
}

TEST_F(PrintingTest, WideAddressesWidenTheWholeJob) {
    Start();
    // A sparse file a little over 4 GB; the selection crosses 2^32.
    const QString path = Path("big.bin");
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(0x100000010LL));
    }
    ASSERT_NE(m_app->OpenDocumentFile(path), nullptr);
    Idle();
    Select(0xFFFFFFF0LL, 0x20);
    const QStringList lines = Lines(PrintDirect());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("0FFFFFFF0 00 00")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("100000000 00 00")) << lines[1].toStdString();
}

TEST_F(PrintingTest, LongJobsShowProgressAndCancel) {
    Start();
    g_rcPrintMargins = PrintMargins{1000, 1000, 1000, 11000}; // less than a line: one a page
    ASSERT_NE(Open(Counting(16 * 400)), nullptr);
    for (const CancelBy how : kEveryCancel) {
        SCOPED_TRACE(testing::Message() << how);
        const CancelOnShow cancel(how);
        QFile::remove(m_pdf);
        EXPECT_EQ(PrintView(*ActiveView(), AfxGetPrinter(), true), PrintOutcome::Cancelled);
        EXPECT_TRUE(cancel.Sent());
    }

    // Uncancelled, the same margins print one line on each of 400 pages.
    PrintDirect();
    EXPECT_EQ(PdfPages(m_pdf), 400);
}

TEST_F(PrintingTest, PrintMarginsRefuseMarginsWithoutRoomForALine) {
    Start();
    ASSERT_NE(Open(Counting(16)), nullptr);
    PromptScript prompts;
    DialogScript script;
    const auto setMargins = [](qreal left, qreal top, qreal right, qreal bottom) {
        return [=](QDialog& dialog) {
            auto* setup = qobject_cast<QPageSetupDialog*>(&dialog);
            EXPECT_NE(setup, nullptr);
            if (setup)
                setup->printer()->setPageMargins(QMarginsF(left, top, right, bottom),
                                                 QPageLayout::Inch);
            return int(QDialog::Accepted);
        };
    };
    script.Then([](QDialog& dialog) {
        auto* setup = qobject_cast<QPageSetupDialog*>(&dialog);
        if (!setup)
            return int(QDialog::Rejected);
        EXPECT_NEAR(setup->printer()->pageLayout().margins(QPageLayout::Inch).left(), 1.0, 0.01)
            << "the dialog starts from the current margins";
        setup->printer()->setPageMargins(QMarginsF(0.5, 5.8, 0.5, 5.8), QPageLayout::Inch);
        return int(QDialog::Accepted);
    });
    script.Then(setMargins(0.25, 0.5, 0.75, 1.5));
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PAGE_SETUP));
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_TRUE(prompts.LastText().contains("ne laissent pas la place d'une ligne"));
    EXPECT_EQ(g_rcPrintMargins, (PrintMargins{250, 500, 750, 1500}));

    // Cancel keeps the margins.
    script.Then([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PAGE_SETUP));
    EXPECT_EQ(g_rcPrintMargins, (PrintMargins{250, 500, 750, 1500}));
    EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(PrintingTest, PreviewShowsThePagesAndLimitsHugeDumps) {
    Start();
    g_rcPrintMargins = PrintMargins{1000, 1000, 1000, 10500}; // one line a page
    ASSERT_NE(Open(Counting(16 * 3)), nullptr);
    const QString picture = Path("preview.png");
    DialogScript script;
    script.Then([&](QDialog& dialog) {
        auto* preview = qobject_cast<CPrintPreviewDlg*>(&dialog);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return int(QDialog::Rejected);
        preview->resize(600, 800);
        preview->show();
        preview->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(preview));
        preview->Preview()->updatePreview();
        EXPECT_EQ(preview->Preview()->pageCount(), 3);
        QTest::keyClick(preview, Qt::Key_PageDown);
        EXPECT_EQ(preview->Preview()->currentPage(), 2);
        QTest::keyClick(preview, Qt::Key_PageUp);
        EXPECT_EQ(preview->Preview()->currentPage(), 1);
        EXPECT_EQ(preview->PageText(), "Page 1 / 3");
        const QImage image = preview->grab().toImage();
        image.save(picture);
        if (qEnvironmentVariableIsSet("QUEXO_KEEP_PREVIEW"))
            image.save(qEnvironmentVariable("QUEXO_KEEP_PREVIEW"));
        preview->hide();
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(QFile::exists(picture));

    // Its print button closes it and runs the print dialog.
    QFile::remove(m_pdf);
    script.Then([](QDialog&) { return CPrintPreviewDlg::kPrint; });
    script.Then([](QDialog& dialog) {
        EXPECT_NE(qobject_cast<QPrintDialog*>(&dialog), nullptr);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(PdfPages(m_pdf), 3);

    // More pages than the preview renders: the first ones, and it says so.
    ASSERT_NE(Open(QByteArray(16 * int(kMaxPreviewPages + 20), 'x'), "big.bin"), nullptr);
    QString text;
    script.Then([&](QDialog& dialog) {
        auto* preview = qobject_cast<CPrintPreviewDlg*>(&dialog);
        if (!preview)
            return int(QDialog::Rejected);
        preview->Preview()->updatePreview();
        EXPECT_EQ(preview->Preview()->pageCount(), kMaxPreviewPages);
        text = preview->PageText();
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(text.contains(QString::number(kMaxPreviewPages + 20))) << text.toStdString();
    EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(PrintingTest, CommandLinePrintsIntoAPdfOrReportsWhy) {
    const QString file = Write("cmd.bin", Counting(20));
    PromptScript prompts;

    CCommandLineInfo info;
    info.Parse({"/pt", file, Path("cmd.pdf")});
    EXPECT_EQ(PrintFromCommandLine(*m_app, info), 0);
    EXPECT_EQ(Lines(PdfText(Path("cmd.pdf"))).size(), 2);
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0) << "the document is closed again";

    CCommandLineInfo unknown;
    unknown.Parse({"/pt", file, "no-such-printer"});
    EXPECT_EQ(PrintFromCommandLine(*m_app, unknown), 2);
    EXPECT_TRUE(
        prompts.LastText().contains(QString::fromUtf8("« no-such-printer » est introuvable")))
        << prompts.LastText().toStdString();

    CCommandLineInfo unwritable;
    unwritable.Parse({"/pt", file, Path("no-such-folder/out.pdf")});
    EXPECT_EQ(PrintFromCommandLine(*m_app, unwritable), 1);
    EXPECT_TRUE(prompts.LastText().startsWith("Impossible d'imprimer"))
        << prompts.LastText().toStdString();

    CCommandLineInfo missing;
    missing.Parse({"/pt", Path("missing.bin"), Path("never.pdf")});
    const int shown = prompts.Count();
    EXPECT_NE(PrintFromCommandLine(*m_app, missing), 0);
    EXPECT_EQ(prompts.Count(), shown + 1) << "the document says why";
    EXPECT_FALSE(QFile::exists(Path("never.pdf")));
}

// Runs the real program with a private profile; fails the test if it waits.
static void RunProgram(QProcess& process, const QString& home, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUEXO_BUILD_DIR "/app/quexo"), args);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "the program waits";
    }
}

TEST_F(PrintingTest, ProgramPrintsIntoAPdfAndEnds) {
    // Text, which a fresh profile would ask about when opened: printing never asks.
    const QString file = Write("run.txt", "Quexo prints one line\n");
    const QString pdf = Path("run.pdf");
    QProcess process;
    RunProgram(process, m_dir.path(), {"/pt", file, pdf});
    EXPECT_EQ(process.exitCode(), 0);
    const QStringList lines = Lines(PdfText(pdf));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("00000000 51 75 65 78 6F"));
    EXPECT_TRUE(lines[0].endsWith("Quexo prints one"));
    EXPECT_EQ(lines[1].simplified(), "00000010 20 6C 69 6E 65 0A line.");
}

TEST_F(PrintingTest, ProgramReportsFailuresOnStandardErrorWithoutABox) {
    // An OK box would hold a script forever: the reason goes to standard error.
    QProcess process;
    RunProgram(process, m_dir.path(), {"/pt", Path("absent.bin"), Path("absent.pdf")});
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(process.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(process.readAllStandardError()).contains("absent.bin"));
    EXPECT_FALSE(QFile::exists(Path("absent.pdf")));
}
