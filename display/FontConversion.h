// The stored font description (LOGFONT layout) and the QFont the grid draws
// with, in both directions.
#pragma once

#include "display/DisplaySettings.h"

#include <QFont>

// Negative heights are character heights in pixels (-13: 13 pixel glyphs);
// positive ones are cell heights (ascent + descent); 0 is the default 13.
// Unknown faces fall back to a monospace one.
QFont FontFromLogFont(const LogFont& font);

// The description of `font` as a character height, for storing.
LogFont LogFontFromFont(const QFont& font);
