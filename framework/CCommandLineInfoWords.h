// How one word of the command line reads, shared by the framework's parser and
// the start-up's own classification so the two never disagree.
#pragma once

#include <string>
#include <string_view>

enum class CommandLineWord {
    EndOfFlags, // "--": every later word is a file name or a print parameter
    Flag,       // "-x...", or "/" and letters only ("/p", "/install")
    Parameter,  // anything else: a file name, a printer name
};

// A word starting with '-' is a flag ("-" alone names a file, as is usual). A
// word starting with '/' is a flag only when letters alone follow: "/home/u/a",
// "/p.bin" and "/" are absolute paths. Once `flagsEnded`, every word is a
// parameter.
CommandLineWord ReadCommandLineWord(std::string_view word, bool flagsEnded);

// The flag's name without its '-' or '/', in lower case ("PT" -> "pt").
std::string CommandLineFlagName(std::string_view word);
