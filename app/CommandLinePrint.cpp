#include "app/CommandLinePrint.h"

#include "document/CTextHandOff.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CDocument.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/CommandGuard.h"
#include "framework/PdfOutputFile.h"
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
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

// While printing from the command line every message goes to standard error
// instead of a box, whoever raised it (the document, the printer): a script
// sees why and never waits for a click. A question gets its cautious answer.
// A handler installed before (a test scripting the prompts) still sees them.
class EchoPromptsToStderr {
public:
    EchoPromptsToStderr() {
        m_previous = PromptService::SetHandler([this](const PromptRequest& request) {
            std::fprintf(stderr, "%s\n", request.m_strText.toLocal8Bit().constData());
            return m_previous ? m_previous(request) : CautiousAnswer(request.m_nButtons);
        });
    }
    ~EchoPromptsToStderr() { PromptService::SetHandler(m_previous); }
    EchoPromptsToStderr(const EchoPromptsToStderr&) = delete;
    EchoPromptsToStderr& operator=(const EchoPromptsToStderr&) = delete;

private:
    static int CautiousAnswer(unsigned buttons) {
        switch (buttons & 0xF) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        default:
            return IDOK;
        }
    }

    PromptService::Handler m_previous;
};

// A script must never wait for a question: the file opens in hex whatever the
// open-text-file mode says, and the mode is the user's again afterwards.
class OpenTextFilesInHex {
public:
    OpenTextFilesInHex() : m_nSaved(CTextHandOff::Current().m_nOpenTextMode) {
        CTextHandOff::Current().m_nOpenTextMode = 1;
    }
    ~OpenTextFilesInHex() { CTextHandOff::Current().m_nOpenTextMode = m_nSaved; }
    OpenTextFilesInHex(const OpenTextFilesInHex&) = delete;
    OpenTextFilesInHex& operator=(const OpenTextFilesInHex&) = delete;

private:
    int m_nSaved;
};

// The printer the command line asks for, or null once reported.
std::unique_ptr<QPrinter> ChoosePrinter(const CCommandLineInfo& info) {
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo) {
        const QString& name = info.m_strPrinterName;
        if (name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            const QString refusal = PdfOutputRefusal(name, info.m_strFileName);
            if (!refusal.isEmpty()) {
                ReportFailure(refusal);
                return nullptr;
            }
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
    const EchoPromptsToStderr echo;
    const std::unique_ptr<QPrinter> printer = ChoosePrinter(info);
    if (!printer)
        return kNoPrinter;

    int status = kNotPrinted;
    CDocument* document = nullptr;
    RunGuarded([&] {
        {
            const OpenTextFilesInHex inHex;
            document = app.OpenDocumentFile(info.m_strFileName);
        }
        if (!document || document->GetViews().empty())
            return; // the document reported why
        if (PrintView(*document->GetViews().front(), *printer, true) == PrintOutcome::Printed)
            status = kPrinted;
    });
    if (document)
        RunGuarded([document] { document->OnCloseDocument(); });
    return status;
}
