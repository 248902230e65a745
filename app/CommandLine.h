// What the command line asks of a start: nothing, a file, the desktop
// registration written or removed, or the general form (a file and print options).
#pragma once

#include <string>
#include <vector>

enum class CommandLineKind {
    None,      // no argument
    OpenFile,  // exactly one argument naming a file
    Install,   // exactly "/install", any letter case
    Uninstall, // exactly "/uninstall", any letter case
    Other,     // anything else, parsed for a file to open and print options
};

struct CommandLineRequest {
    CommandLineKind kind = CommandLineKind::None;
    std::string fileName; // the first argument that is not an option; may be empty
    bool print = false;   // "/p" or "/pt": print the file
    bool printTo = false; // "/pt printer driver port"
    std::string printerName, driverName, portName;
};

// `arguments` excludes the program name. Flags and "--" read as the framework's
// parser reads them (framework/CCommandLineInfoWords.h): "-x" and "/word" are
// flags, "/home/u/a.bin" is a path, and "--" ends the flags.
CommandLineRequest ClassifyCommandLine(const std::vector<std::string>& arguments);
