#include "framework/ViewPrinting.h"

#include "framework/CDocument.h"
#include "framework/CPrintPreviewDlg.h"
#include "framework/CProgress.h"
#include "framework/CView.h"
#include "framework/DialogRunner.h"
#include "framework/PdfOutputFile.h"
#include "framework/Prompt.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <exception>
#include <memory>

namespace {

const char* const kPrinting = "Impression en cours...";
const char* const kCannotPrint = "Impossible d'imprimer sur « %1 ».";

// Ends the job on every way out, exceptions included.
class PrintSteps {
public:
    PrintSteps(CView& view, QPainter& painter, CPrintInfo& info)
        : m_view(view), m_painter(painter), m_info(info) {
        m_view.OnBeginPrinting(&m_painter, &m_info);
    }
    ~PrintSteps() {
        try {
            m_view.OnEndPrinting(&m_painter, &m_info);
        } catch (...) {
        }
    }
    PrintSteps(const PrintSteps&) = delete;
    PrintSteps& operator=(const PrintSteps&) = delete;

private:
    CView& m_view;
    QPainter& m_painter;
    CPrintInfo& m_info;
};

QString PrinterLabel(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                         : printer.printerName();
}

} // namespace

QPrinter& AfxGetPrinter() {
    // Deleted with the application object, while the print plugins are loaded.
    static QPrinter* printer = nullptr;
    if (!printer) {
        printer = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine([] {
            delete printer;
            printer = nullptr;
        });
    }
    return *printer;
}

void AfxPrintSetup(QWidget* parent) {
    QPrintDialog dialog(&AfxGetPrinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Configuration de l'impression"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    DialogRunner::RunModal(dialog);
}

bool DoPreparePrinting(CPrintInfo* info) {
    info->m_bPrintSelection = info->m_bSelectionOffered;
    if (info->m_bDirect || info->m_bPreview)
        return true;
    QPrinter* printer = info->m_pPrinter;
    QPrintDialog dialog(printer, nullptr);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, info->m_bSelectionOffered);
    printer->setPrintRange(info->m_bSelectionOffered ? QPrinter::Selection : QPrinter::AllPages);
    if (DialogRunner::RunModal(dialog) != QDialog::Accepted)
        return false;
    info->m_bPrintSelection =
        info->m_bSelectionOffered && printer->printRange() == QPrinter::Selection;
    // The pages are ours to choose; the printer itself prints all it is given.
    printer->setPrintRange(QPrinter::AllPages);
    return true;
}

PrintOutcome PrintView(CView& view, QPrinter& printer, bool direct) {
    CPrintInfo info;
    info.m_pPrinter = &printer;
    info.m_bDirect = direct;
    if (!view.OnPreparePrinting(&info))
        return PrintOutcome::Cancelled;

    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const CDocument* document = view.GetDocument();
        const QString refusal = PdfOutputRefusal(printer.outputFileName(),
                                                 document ? document->GetPathName() : QString());
        if (!refusal.isEmpty()) {
            AfxMessageBox(refusal, MB_OK | MB_ICONSTOP);
            return PrintOutcome::Failed;
        }
    }
    const QString label = PrinterLabel(printer);
    // Declared before the painter, so the job has ended before the file goes.
    CPdfOutputFile output(printer);
    QPainter painter;
    if (!output.IsReady() || !painter.begin(&printer)) {
        AfxMessageBox(QString::fromUtf8(kCannotPrint).arg(label), MB_OK | MB_ICONSTOP);
        return PrintOutcome::Failed;
    }
    bool cancelled = false;
    bool failed = false;
    try {
        PrintSteps steps(view, painter, info);
        CProgress progress(QString::fromUtf8(kPrinting), &view);
        const std::int64_t total = info.m_nToPage - info.m_nFromPage + 1;
        for (std::int64_t page = info.m_nFromPage; page <= info.m_nToPage; ++page) {
            if (page > info.m_nFromPage && !printer.newPage()) {
                failed = true;
                break;
            }
            info.m_nCurPage = page;
            view.OnPrint(&painter, &info);
            if (!info.m_bContinuePrinting)
                break;
            if (progress.Step(page - info.m_nFromPage + 1, total)) {
                cancelled = true;
                break;
            }
        }
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (cancelled)
        printer.abort();
    if (!painter.end())
        failed = !cancelled;
    if (!failed && !cancelled && !output.Commit())
        failed = true;
    if (failed) {
        AfxMessageBox(QString::fromUtf8(kCannotPrint).arg(label), MB_OK | MB_ICONSTOP);
        return PrintOutcome::Failed;
    }
    return cancelled ? PrintOutcome::Cancelled : PrintOutcome::Printed;
}

void PreviewView(CView& view, QPrinter& printer) {
    CPrintInfo info;
    info.m_pPrinter = &printer;
    info.m_bPreview = true;
    if (!view.OnPreparePrinting(&info))
        return;

    CPrintPreviewDlg dialog(&printer, view.window());
    std::exception_ptr error;
    std::int64_t pageCount = 0;
    QObject::connect(&dialog, &CPrintPreviewDlg::paintRequested, &dialog, [&](QPrinter* target) {
        // Each rendering is a job of its own; errors end it and are reported
        // once the preview is closed.
        QPainter painter(target);
        CPrintInfo job = info;
        job.m_pPrinter = target;
        try {
            PrintSteps steps(view, painter, job);
            pageCount = job.m_nToPage - job.m_nFromPage + 1;
            const std::int64_t last =
                std::min(job.m_nToPage, job.m_nFromPage + kMaxPreviewPages - 1);
            for (std::int64_t page = job.m_nFromPage; page <= last; ++page) {
                if (page > job.m_nFromPage)
                    target->newPage();
                job.m_nCurPage = page;
                view.OnPrint(&painter, &job);
                if (!job.m_bContinuePrinting)
                    break;
            }
        } catch (...) {
            if (!error)
                error = std::current_exception();
        }
        dialog.SetTotalPages(pageCount);
    });
    const int result = DialogRunner::RunModal(dialog);
    if (error)
        std::rethrow_exception(error);
    if (result == CPrintPreviewDlg::kPrint)
        PrintView(view, printer, false);
}
