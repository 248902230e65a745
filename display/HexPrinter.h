// The hex dump on a printer: the job of one print or preview (PrintJobInfo),
// built from the printer's metrics, the margins and the display font scaled
// to the printer, and the drawing of one page from the file.
#pragma once

#include "display/PrintLayout.h"

#include <QFont>

#include <cstdint>
#include <memory>

class CPieceFile64;
class QPainter;
class QPrinter;

struct PrintJobInfo {
    CPrintJobPlan plan;
    QFont font;         // the display font scaled to the printer
    int lineHeight = 1; // device units
    PrintArea area;     // inside the margins, relative to the printable area
    bool upperChars = false;
    bool hexAddress = true;
};

// Resolution, paper and printable-area offset of `printer`, in device units.
PrinterMetrics MetricsOf(const QPrinter& printer);

// The stored display font, its pixel height scaled from the screen's
// resolution to the printer's.
QFont PrinterFont(const LogFont& font, int printerDpiY, int screenDpiY);
int PrinterLineHeight(const QFont& font, QPrinter& printer);

// A job printing `length` bytes from `start` on `printer`.
std::unique_ptr<PrintJobInfo> MakePrintJob(QPrinter& printer, int screenDpiY, std::int64_t start,
                                           std::int64_t length, bool hexAddress, bool upperChars);

// Draws page `page` (from 1): its lines, read with one ReadAt of at most one
// page of bytes. File errors pass on.
void PrintHexPage(QPainter& painter, const PrintJobInfo& job, const CPieceFile64& file,
                  std::int64_t page);
