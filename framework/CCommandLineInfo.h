// What the command line asks for: nothing (a new document), a file to open, or
// a file to print. Print flags are "/p FILE" and "/pt FILE PRINTER [DRIVER
// [PORT]]" (also with "-"). Other flags are ignored; "--" ends the flags. Which
// words are flags: framework/CCommandLineInfoWords.h.
#pragma once

#include <QString>
#include <QStringList>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileNothing };

    virtual ~CCommandLineInfo() = default;
    // Reads the arguments after the program name.
    virtual void Parse(const QStringList& arguments);

    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    QString m_strPrinterName;
    QString m_strDriverName;
    QString m_strPortName;
};
