#include "framework/CCommandLineInfoWords.h"

#include <algorithm>

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

CommandLineWord ReadCommandLineWord(std::string_view word, bool flagsEnded) {
    if (flagsEnded || word.size() < 2)
        return CommandLineWord::Parameter;
    if (word == "--")
        return CommandLineWord::EndOfFlags;
    if (word[0] == '-')
        return CommandLineWord::Flag;
    if (word[0] == '/' && std::all_of(word.begin() + 1, word.end(), IsAsciiLetter))
        return CommandLineWord::Flag;
    return CommandLineWord::Parameter;
}

std::string CommandLineFlagName(std::string_view word) {
    std::string name(word.empty() ? word : word.substr(1));
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return name;
}
