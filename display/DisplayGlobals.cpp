#include "display/DisplayGlobals.h"

LogFont g_displayFont = DefaultDisplayFont();
int g_bHexAddress = 1;
int g_bUpperChars = 0;
int g_nFixedColumns = 0;
PrintMargins g_rcPrintMargins;

DisplaySettings CurrentDisplaySettings(int openTextMode) {
    DisplaySettings settings;
    settings.font = g_displayFont;
    settings.hexAddress = g_bHexAddress;
    settings.upperChars = g_bUpperChars;
    settings.fixedColumns = g_nFixedColumns;
    settings.printMargins = g_rcPrintMargins;
    settings.openTextMode = openTextMode;
    return settings;
}

void ApplyDisplaySettings(const DisplaySettings& settings) {
    g_displayFont = settings.font;
    g_bHexAddress = settings.hexAddress;
    g_bUpperChars = settings.upperChars;
    g_nFixedColumns = settings.fixedColumns;
    g_rcPrintMargins = settings.printMargins;
}
