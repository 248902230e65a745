// Printing tests print into a PDF and read it back with poppler's tools.
#pragma once

#include "FrameTestSupport.h"

#include "display/DisplayGlobals.h"
#include "framework/ViewPrinting.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

inline QString RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString PdfText(const QString& pdf) {
    return RunTool(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
}

inline int PdfPages(const QString& pdf) {
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    return pages.match(RunTool(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

// The top-left corner, in points, of the first word on the first page.
inline QPointF FirstWordCorner(const QString& pdf) {
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
    const QRegularExpressionMatch match =
        word.match(RunTool(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"}));
    return match.hasMatch() ? QPointF(match.captured(1).toDouble(), match.captured(2).toDouble())
                            : QPointF(-1, -1);
}

inline QStringList Lines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    return lines;
}

inline QByteArray Counting(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(i));
    return bytes;
}

// The display globals and the application printer are process-wide: each test
// prints into its own PDF and leaves the settings as it found them.
class PrintingTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_saved = CurrentDisplaySettings(2);
        m_pdf = Path("out.pdf");
        QPrinter& printer = AfxGetPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    }
    void TearDown() override {
        ApplyDisplaySettings(m_saved);
        FrameTest::TearDown();
    }

    // Prints the active view without the dialog and returns the text.
    QString PrintDirect() {
        QFile::remove(m_pdf);
        EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT_DIRECT));
        return PdfText(m_pdf);
    }

    void Select(std::int64_t start, std::int64_t length) {
        CHexGridWnd& grid = ActiveView()->GetGrid();
        grid.SetCaret(start + length, false);
        grid.SetAnchor(start);
    }

    DisplaySettings m_saved;
    QString m_pdf;
};
