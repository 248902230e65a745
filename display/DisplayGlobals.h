// The process-wide display settings every view copies into its grid, and the
// print margins. Read once at start-up and written once at exit
// (CQuexoView::LoadDisplaySettings / SaveDisplaySettings).
#pragma once

#include "display/DisplaySettings.h"

extern LogFont g_displayFont;         // "Courier", height -13
extern int g_bHexAddress;             // 1: addresses in hexadecimal
extern int g_bUpperChars;             // 0: bytes 0x7F-0xFF shown as "."
extern int g_nFixedColumns;           // 0: bytes per row from the window width
extern PrintMargins g_rcPrintMargins; // thousandths of an inch, one inch each

// The globals gathered with the open-text-file mode, and the reverse.
DisplaySettings CurrentDisplaySettings(int openTextMode);
void ApplyDisplaySettings(const DisplaySettings& settings);
