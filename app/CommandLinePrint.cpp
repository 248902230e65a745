#include "app/CommandLinePrint.h"

#include "framework/CCommandLineInfo.h"
#include "framework/CDocument.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "framework/ViewPrinting.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <memory>

namespace {

constexpr int kPrinted = 0;
constexpr int kNotPrinted = 1;
constexpr int kNoPrinter = 2;

const char* const kNoDefaultPrinter = "Aucune imprimante par défaut n'est installée.";
const char* const kUnknownPrinter = "L'imprimante « %1 » est introuvable.";

void ReportFailure(const QString& text) {
    // Scripts see it too.
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

// The printer the command line asks for, or null once reported.
std::unique_ptr<QPrinter> ChoosePrinter(const CCommandLineInfo& info) {
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo) {
        const QString& name = info.m_strPrinterName;
        if (name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(name);
            return printer;
        }
        const QPrinterInfo target = QPrinterInfo::printerInfo(name);
        if (name.isEmpty() || target.isNull()) {
            ReportFailure(QString::fromUtf8(kUnknownPrinter).arg(name));
            return nullptr;
        }
        return std::make_unique<QPrinter>(target, QPrinter::HighResolution);
    }
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        ReportFailure(QString::fromUtf8(kNoDefaultPrinter));
        return nullptr;
    }
    return std::make_unique<QPrinter>(target, QPrinter::HighResolution);
}

} // namespace

int PrintFromCommandLine(CWinApp& app, const CCommandLineInfo& info) {
    const std::unique_ptr<QPrinter> printer = ChoosePrinter(info);
    if (!printer)
        return kNoPrinter;

    int status = kNotPrinted;
    CDocument* document = nullptr;
    RunGuarded([&] {
        document = app.OpenDocumentFile(info.m_strFileName);
        if (!document || document->GetViews().empty())
            return; // the document reported why
        if (PrintView(*document->GetViews().front(), *printer, true) == PrintOutcome::Printed)
            status = kPrinted;
    });
    if (document)
        RunGuarded([document] { document->OnCloseDocument(); });
    return status;
}
