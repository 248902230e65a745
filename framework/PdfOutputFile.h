// Printing into a PDF file: which files may receive it, and a temporary file
// beside the target that takes its place only when the job is complete, so a
// failed or cancelled job never leaves half a PDF where an older one stood.
#pragma once

#include <QString>

#include <string>

class QPrinter;

// Why `output` may not receive the PDF printed from `source` (the file being
// printed, empty when there is none), as a French message; empty when it may.
// Refused: the file being printed itself (the same file on disk, or the same
// path when neither exists yet) and anything that is not a regular file.
QString PdfOutputRefusal(const QString& output, const QString& source);

class CPdfOutputFile {
public:
    // When `printer` prints into a PDF file, points it at a new temporary file
    // beside that file (links in its name followed, so a link stays a link).
    explicit CPdfOutputFile(QPrinter& printer);
    // Gives the printer its file name back, and drops the temporary file
    // unless Commit put it in place.
    ~CPdfOutputFile();
    CPdfOutputFile(const CPdfOutputFile&) = delete;
    CPdfOutputFile& operator=(const CPdfOutputFile&) = delete;

    // False when the temporary file could not be created.
    bool IsReady() const { return m_nError == 0; }
    // Puts the finished PDF in the target's place; false when that failed.
    bool Commit();

private:
    QPrinter& m_printer;
    QString m_strOutput; // what the printer was given; empty when not a PDF file
    std::string m_strTarget;
    std::string m_strTemp;
    int m_nError = 0;
};
