// Texts of the offset and selection panes of the status bar.
#pragma once

#include <cstdint>
#include <string>

// "Ofs <decimal>  0x<HEX>" for the caret offset.
std::string FormatOffsetStatus(std::int64_t caret);

// "Sel <decimal>  0x<HEX>" for the selection length; empty when nothing is selected.
std::string FormatSelectionStatus(std::int64_t length);
