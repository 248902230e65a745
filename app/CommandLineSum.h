// "quexo /sum ALGORITHM FILE..." prints one line per file in the format of
// sha256sum ("<hex>  <name>"), so its output can be checked with `sha256sum -c`
// and its kin. Runs without a window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses of the console commands.
inline constexpr int kConsoleOk = 0;
inline constexpr int kConsoleFileError = 1; // some file could not be read
inline constexpr int kConsoleUsage = 2;     // the command line itself is wrong

// `arguments` are the words after "/sum". Messages are French and go to `err`.
int RunSumCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The line sha256sum writes for `hex` and `fileName`: a name holding a
// backslash, a newline or a carriage return is escaped and the line starts
// with a backslash.
std::string SumLine(const std::string& hex, const std::string& fileName);
