// The commands that answer on the terminal and end without opening a window:
// "--help", "--version" and "/sum". Checked before anything graphical starts,
// so they work without a display.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The French usage text "--help" prints.
std::string ConsoleUsage();

// `arguments` exclude the program name. The exit status when the first word
// is one of these commands, else nothing: the editor starts as usual.
std::optional<int> RunConsoleCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                     std::ostream& err);
