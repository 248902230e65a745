// What an application entry's Exec line does with the file it is given: GIO
// quotes the name where a file code (%f %F %u %U) stands and hands the line to
// its argument parser, which is safe as long as no shell reads the name again
// as part of a script. Qt-free, so the fuzz targets run it.
#pragma once

#include <string>

namespace execline {

enum class FileCodeUse {
    Argument,   // the name reaches the program as an argument of its own
    PlainNames, // the name stands inside quotes: only names no shell reads as code are safe
    ShellCode,  // a shell runs the name, or the file itself, as code: never safe
};

// Reads `exec` (the Exec value, string escapes already undone) as GIO does
// and looks at every shell it names, whatever starts it (env VAR=1, busybox,
// a terminal's -e): the script of -c (or fish's --command) must not hold a
// file code, nor may a file code be the shell's script file; env's -S splits
// a string into more words, so any file code after it counts as code. Any
// other program's -c (vim -c runs a command) takes plain names only.
FileCodeUse ClassifyFileCodes(const std::string& exec);

// True when no byte of `path` means anything to a shell: ASCII letters and
// digits, `/ . _ - + , : @ = %`, and anything beyond ASCII.
bool PlainFileName(const std::string& path);

} // namespace execline
