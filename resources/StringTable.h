// The French string table: every text the program shows, by its identifier.
// Each area of the program keeps its entries in its own file under strings/.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace res {

// The text stored under `id`, or an empty string when there is none.
const char* LoadString(unsigned id);

// Identifiers defined more than once across the strings/*.inc files (the
// first definition wins, so a second one is a mistake).
std::vector<unsigned> DuplicateIds();

// Replaces %1 … %9 in `text` with the given arguments, as message texts do.
std::string FormatArgs(const std::string& text, std::initializer_list<std::string> args);

// printf-style formatting that also understands the %I64 length prefix of the
// stored texts ("Ofs %I64u  0x%I64X"). Arguments must match the format.
std::string FormatPrintf(const char* format, ...);

// The part of a "prompt\ntooltip" entry before or after its newline.
std::string PromptPart(unsigned id);
std::string TooltipPart(unsigned id);

} // namespace res
