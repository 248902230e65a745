// Text of the freedesktop desktop entries that register the program with Linux
// desktops, and the escaping rules of that format.
#pragma once

#include <optional>
#include <string>

namespace desktopentry {

// Key under which an entry records the program path it was written for.
inline constexpr const char* kProgramKey = "X-Quexo-Program";
// The application icon's name in the icon theme (installed in hicolor).
inline constexpr const char* kIconName = "quexopro";

// A string value as the format stores it: \s for a leading blank, \n \t \r \\.
std::string EscapeValue(const std::string& text);
std::string UnescapeValue(const std::string& text);

// One argument of an Exec line, quoted (and with % doubled) so that any text,
// blanks, quotes and dollars included, reaches the program unchanged.
std::string QuoteExecArgument(const std::string& argument);

// "Open with" for every file, as an installed application that is never a
// file type's default.
std::string OpenWithEntry(const std::string& programPath);

// A terminal in the chosen folder (or the chosen file's folder).
std::string TerminalHereEntry(const std::string& programPath);

// The program path recorded in an entry's [Desktop Entry] group, if any.
std::optional<std::string> RecordedProgram(const std::string& entryText);

} // namespace desktopentry
