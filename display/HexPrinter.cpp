#include "display/HexPrinter.h"

#include "display/DisplayGlobals.h"
#include "display/FontConversion.h"
#include "storage/CPieceFile64.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <vector>

PrinterMetrics MetricsOf(const QPrinter& printer) {
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    PrinterMetrics metrics;
    metrics.dpiX = printer.logicalDpiX();
    metrics.dpiY = printer.logicalDpiY();
    metrics.paperWidth = static_cast<int>(std::lround(paper.width()));
    metrics.paperHeight = static_cast<int>(std::lround(paper.height()));
    metrics.offsetX = static_cast<int>(std::lround(page.left() - paper.left()));
    metrics.offsetY = static_cast<int>(std::lround(page.top() - paper.top()));
    return metrics;
}

QFont PrinterFont(const LogFont& logFont, int printerDpiY, int screenDpiY) {
    QFont font = FontFromLogFont(logFont);
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : 13;
    font.setPixelSize(std::max(1, MulDivRound(pixels, printerDpiY, std::max(screenDpiY, 1))));
    return font;
}

int PrinterLineHeight(const QFont& font, QPrinter& printer) {
    return std::max(1, QFontMetrics(font, &printer).height());
}

int PrinterCellWidth(const QFont& font, QPrinter& printer) {
    return std::max(1, QFontMetrics(font, &printer).averageCharWidth());
}

QFont FitPrinterFont(const QFont& font, QPrinter& printer, int cells, int areaWidth) {
    QFont sized = font;
    const int pixels = FitPrintPixelSize(font.pixelSize(), cells, areaWidth, [&](int size) {
        sized.setPixelSize(size);
        return PrinterCellWidth(sized, printer);
    });
    sized.setPixelSize(pixels);
    return sized;
}

std::unique_ptr<PrintJobInfo> MakePrintJob(QPrinter& printer, int screenDpiY, std::int64_t start,
                                           std::int64_t length, bool hexAddress, bool upperChars) {
    const PrinterMetrics metrics = MetricsOf(printer);
    const PrintArea area = PrintAreaFromMargins(metrics, g_rcPrintMargins);
    const int cells = PrintLineCells(PrintJobAddressDigits(start, length, hexAddress));
    const QFont font = FitPrinterFont(PrinterFont(g_displayFont, metrics.dpiY, screenDpiY), printer,
                                      cells, area.Width());
    const int lineHeight = PrinterLineHeight(font, printer);
    auto job = std::make_unique<PrintJobInfo>(PrintJobInfo{
        CPrintJobPlan(start, length, area.Height(), lineHeight, hexAddress), font, lineHeight,
        PrinterCellWidth(font, printer), area, upperChars, hexAddress, CRowPainter()});
    job->cells.SetFont(font);
    job->cells.SetCellWidth(job->cellWidth);
    return job;
}

void PrintHexPage(QPainter& painter, const PrintJobInfo& job, const CPieceFile64& file,
                  std::int64_t page) {
    const CPrintJobPlan& plan = job.plan;
    const int lines = plan.LinesOnPage(page);
    if (lines <= 0)
        return;
    const std::int64_t firstLine = plan.FirstLine(page);
    const std::int64_t pageStart = plan.LineAddress(firstLine);
    const std::int64_t wanted = std::min<std::int64_t>(std::int64_t{lines} * kPrintBytesPerLine,
                                                       plan.Start() + plan.Length() - pageStart);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::max<std::int64_t>(wanted, 0)));
    const std::int64_t got = bytes.empty() ? 0 : file.ReadAt(pageStart, bytes.data(), wanted);

    painter.save();
    painter.setFont(job.font);
    painter.setPen(Qt::black);
    painter.setClipRect(QRect(job.area.left, job.area.top, job.area.Width(), job.area.Height()));
    painter.translate(job.area.left, job.area.top);
    for (int i = 0; i < lines; ++i) {
        const std::int64_t offset = std::int64_t{i} * kPrintBytesPerLine;
        const int count = static_cast<int>(std::clamp<std::int64_t>(
            std::min<std::int64_t>(plan.BytesOnLine(firstLine + i), got - offset), 0,
            kPrintBytesPerLine));
        if (count == 0)
            break; // nothing left to read ends the page
        const std::string line =
            FormatPrintLine(pageStart + offset, plan.AddressDigits(), job.hexAddress,
                            bytes.data() + offset, count, job.upperChars);
        job.cells.SetLine(reinterpret_cast<const unsigned char*>(line.data()),
                          static_cast<int>(line.size()));
        job.cells.DrawCells(painter, QPoint(0, i * job.lineHeight), 0,
                            static_cast<int>(line.size()));
    }
    painter.restore();
}
