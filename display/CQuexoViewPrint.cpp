// The view's printing steps and print commands: the file, or the selection,
// as a hex dump inside the print margins.
#include "display/CQuexoView.h"

#include "display/DisplayGlobals.h"
#include "display/HexPrinter.h"
#include "document/CQuexoDoc.h"
#include "framework/DialogRunner.h"
#include "framework/Prompt.h"
#include "framework/StdCommandIds.h"
#include "framework/ViewPrinting.h"
#include "storage/CPieceFile64.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>

namespace {

const char* const kNoRoomForALine =
    "Ces marges ne laissent pas la place d'une ligne sur la page.\nRéduisez-les.";

QMarginsF MarginsInInches(const PrintMargins& margins) {
    return QMarginsF(margins.left / 1000.0, margins.top / 1000.0, margins.right / 1000.0,
                     margins.bottom / 1000.0);
}

PrintMargins MarginsInThousandths(const QMarginsF& inches) {
    const auto thousandths = [](qreal value) {
        return static_cast<std::int32_t>(qRound(value * 1000.0));
    };
    return PrintMargins{thousandths(inches.left()), thousandths(inches.top()),
                        thousandths(inches.right()), thousandths(inches.bottom())};
}

PrintJobInfo* JobOf(const CPrintInfo* info) {
    return static_cast<PrintJobInfo*>(info->m_lpUserData);
}

} // namespace

void CQuexoView::RegisterPrintCommands() {
    OnCommand(ID_FILE_PRINT, [this] { PrintView(*this, AfxGetPrinter(), false); });
    OnCommand(ID_FILE_PRINT_DIRECT, [this] { PrintView(*this, AfxGetPrinter(), true); });
    OnCommand(ID_FILE_PRINT_PREVIEW, [this] { PreviewView(*this, AfxGetPrinter()); });
    OnCommand(ID_FILE_PAGE_SETUP, [this] { OnFilePrintMargins(); });
}

bool CQuexoView::OnPreparePrinting(CPrintInfo* info) {
    std::int64_t start = 0;
    std::int64_t length = 0;
    m_grid.GetSelection(start, length);
    info->m_bSelectionOffered = length > 0;
    return DoPreparePrinting(info);
}

void CQuexoView::OnBeginPrinting(QPainter* /*painter*/, CPrintInfo* info) {
    std::int64_t start = 0;
    std::int64_t length = 0;
    m_grid.GetSelection(start, length);
    if (!info->m_bPrintSelection || length <= 0) {
        const CQuexoDoc* document = GetDocument();
        start = 0;
        length = document && document->GetPieceFile() ? document->GetPieceFile()->GetLength() : 0;
    }
    // Addresses in the base this view shows, which may not have taken a new
    // global setting yet.
    std::unique_ptr<PrintJobInfo> job = MakePrintJob(
        *info->m_pPrinter, logicalDpiY(), start, length, m_grid.IsHexAddress(), g_bUpperChars != 0);
    info->m_nFromPage = 1;
    info->m_nToPage = job->plan.PageCount();
    info->m_lpUserData = job.release();
}

void CQuexoView::OnPrint(QPainter* painter, CPrintInfo* info) {
    const PrintJobInfo* job = JobOf(info);
    const CQuexoDoc* document = GetDocument();
    if (!job || !document || !document->GetPieceFile())
        return;
    PrintHexPage(*painter, *job, *document->GetPieceFile(), info->m_nCurPage);
}

void CQuexoView::OnEndPrinting(QPainter* /*painter*/, CPrintInfo* info) {
    delete JobOf(info);
    info->m_lpUserData = nullptr;
}

void CQuexoView::OnFilePrintMargins() {
    QPrinter& printer = AfxGetPrinter();
    const QPageLayout before = printer.pageLayout();
    printer.setPageMargins(MarginsInInches(g_rcPrintMargins), QPageLayout::Inch);
    for (;;) {
        QPageSetupDialog dialog(&printer, nullptr);
        dialog.setWindowTitle(QStringLiteral("Options d'impression"));
        if (DialogRunner::RunModal(dialog) != QDialog::Accepted) {
            printer.setPageLayout(before);
            return;
        }
        const PrintMargins chosen =
            MarginsInThousandths(printer.pageLayout().margins(QPageLayout::Inch));
        PrinterMetrics paper = MetricsOf(printer);
        paper.offsetX = paper.offsetY = 0; // margins count from the paper's edges
        // The font as a job would print with these margins: made smaller when
        // a line would not fit their width.
        const QFont font = FitPrinterFont(PrinterFont(g_displayFont, paper.dpiY, logicalDpiY()),
                                          printer, PrintLineCells(kPrintAddressDigits),
                                          PrintAreaFromMargins(paper, chosen).Width());
        const int lineHeight = PrinterLineHeight(font, printer);
        if (MarginsLeaveALine(paper, chosen, lineHeight)) {
            g_rcPrintMargins = chosen;
            return;
        }
        AfxMessageBox(QString::fromUtf8(kNoRoomForALine), MB_OK | MB_ICONEXCLAMATION);
    }
}
