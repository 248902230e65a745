// The hex dump on a printer: the job of one print or preview (PrintJobInfo),
// built from the printer's metrics, the margins and the display font scaled
// to the printer, and the drawing of one page from the file.
#pragma once

#include "display/PrintLayout.h"
#include "display/RowPainter.h"

#include <QFont>

#include <cstdint>
#include <memory>

class CPieceFile64;
class QPainter;
class QPrinter;

struct PrintJobInfo {
    CPrintJobPlan plan;
    QFont font;         // the display font scaled to the printer, and to the line
    int lineHeight = 1; // device units
    int cellWidth = 1;  // device units
    PrintArea area;     // inside the margins, relative to the printable area
    bool upperChars = false;
    bool hexAddress = true;
    // Draws the lines cell by cell through the grid's code page and glyphs.
    mutable CRowPainter cells;
};

// Resolution, paper and printable-area offset of `printer`, in device units.
PrinterMetrics MetricsOf(const QPrinter& printer);

// The stored display font, its pixel height scaled from the screen's
// resolution to the printer's.
QFont PrinterFont(const LogFont& font, int printerDpiY, int screenDpiY);
int PrinterLineHeight(const QFont& font, QPrinter& printer);
// The width of one cell of `font` on `printer`, measured as the grid measures it.
int PrinterCellWidth(const QFont& font, QPrinter& printer);
// `font`, made smaller when a line of `cells` cells would not fit in
// `areaWidth` device units.
QFont FitPrinterFont(const QFont& font, QPrinter& printer, int cells, int areaWidth);

// A job printing `length` bytes from `start` on `printer`, in the display
// font scaled to the printer and, when a line would not fit, further down.
std::unique_ptr<PrintJobInfo> MakePrintJob(QPrinter& printer, int screenDpiY, std::int64_t start,
                                           std::int64_t length, bool hexAddress, bool upperChars);

// Draws page `page` (from 1): its lines, read with one ReadAt of at most one
// page of bytes. Glyphs are placed cell by cell, as the grid places them, so
// no text layout ever sees a byte. File errors pass on.
void PrintHexPage(QPainter& painter, const PrintJobInfo& job, const CPieceFile64& file,
                  std::int64_t page);
