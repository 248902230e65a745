// The framework's view printing: the application's printer for the session,
// print setup, the print dialog, the page loop over a view's printing steps
// (with progress and Cancel) and print preview.
#pragma once

#include <QString>

#include <cstdint>

class CView;
struct CPrintInfo;
class QPrinter;
class QWidget;

// The application's printer: the system's default printer at first, then
// what print setup chose; kept for the session.
QPrinter& AfxGetPrinter();
// Print setup: the printer and its settings, without printing.
void AfxPrintSetup(QWidget* parent = nullptr);

// The standard preparation: unless printing directly or previewing, the print
// dialog on info->m_pPrinter, without page ranges, offering the selection when
// info->m_bSelectionOffered (and then proposing it). False when cancelled.
bool DoPreparePrinting(CPrintInfo* info);

enum class PrintOutcome { Printed, Cancelled, Failed };

// Runs the view's printing steps on `printer`, one page after another, with a
// progress dialog and Cancel for long jobs. A printer that cannot start is
// reported and gives Failed. File errors pass on to the caller once the job is
// ended.
PrintOutcome PrintView(CView& view, QPrinter& printer, bool direct);

// Print preview of the view on `printer`, rendering at most
// kMaxPreviewPages pages; its Print button runs the print dialog.
void PreviewView(CView& view, QPrinter& printer);
inline constexpr std::int64_t kMaxPreviewPages = 500;
