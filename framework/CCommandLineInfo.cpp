#include "framework/CCommandLineInfo.h"

#include "framework/CCommandLineInfoWords.h"

void CCommandLineInfo::Parse(const QStringList& arguments) {
    int printToFields = 0; // printer, driver, port still expected after "/pt FILE"
    bool flagsEnded = false;
    for (const QString& argument : arguments) {
        const std::string word = argument.toStdString();
        switch (ReadCommandLineWord(word, flagsEnded)) {
        case CommandLineWord::EndOfFlags:
            flagsEnded = true;
            continue;
        case CommandLineWord::Flag: {
            const std::string name = CommandLineFlagName(word);
            if (name == "p") {
                m_nShellCommand = FilePrint;
            } else if (name == "pt") {
                m_nShellCommand = FilePrintTo;
                printToFields = 3;
            }
            continue; // any other flag asks for nothing here
        }
        case CommandLineWord::Parameter:
            break;
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
