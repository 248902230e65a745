// Text of the freedesktop desktop entries that register the program with Linux
// desktops, and the escaping rules of that format.
#pragma once

#include <optional>
#include <string>

namespace desktopentry {

// Key under which an entry records the program path it was written for.
inline constexpr const char* kProgramKey = "X-Quexo-Program";

// A string value as the format stores it: \s for a leading blank, \n \t \r \\.
std::string EscapeValue(const std::string& text);
std::string UnescapeValue(const std::string& text);

// One argument of an Exec line, quoted (and with % doubled) so that any text,
// blanks, quotes and dollars included, reaches the program unchanged.
std::string QuoteExecArgument(const std::string& argument);

// "Open with" for every file: hidden from menus, offered by file managers.
std::string OpenWithEntry(const std::string& programPath);

// A terminal in the chosen folder.
std::string TerminalHereEntry(const std::string& programPath);

// The program path recorded in an entry's [Desktop Entry] group, if any.
std::optional<std::string> RecordedProgram(const std::string& entryText);

} // namespace desktopentry
