// "/p FILE" prints FILE on the default printer and "/pt FILE PRINTER" on the
// named one; then the program ends. A PRINTER ending in ".pdf" is a PDF file
// to print into, so printing can be scripted without a printer.
#pragma once

class CCommandLineInfo;
class CWinApp;

// Prints what `info` names and returns the program's exit status: 0 when the
// whole file was printed; otherwise the failure has been reported and the
// status is 1 (file not opened, print failed or cancelled) or 2 (no printer).
int PrintFromCommandLine(CWinApp& app, const CCommandLineInfo& info);
