#include "framework/CCommandLineInfo.h"

void CCommandLineInfo::Parse(const QStringList& arguments) {
    int printToFields = 0; // printer, driver, port still expected after "/pt FILE"
    for (const QString& argument : arguments) {
        const QString lower = argument.toLower();
        if (lower == QLatin1String("/p") || lower == QLatin1String("-p")) {
            m_nShellCommand = FilePrint;
            continue;
        }
        if (lower == QLatin1String("/pt") || lower == QLatin1String("-pt")) {
            m_nShellCommand = FilePrintTo;
            printToFields = 3;
            continue;
        }
        if (m_strFileName.isEmpty()) {
            m_strFileName = argument;
            if (m_nShellCommand == FileNew)
                m_nShellCommand = FileOpen;
            continue;
        }
        if (printToFields == 3)
            m_strPrinterName = argument;
        else if (printToFields == 2)
            m_strDriverName = argument;
        else if (printToFields == 1)
            m_strPortName = argument;
        if (printToFields > 0)
            --printToFields;
    }
}
