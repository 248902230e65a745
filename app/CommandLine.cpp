#include "app/CommandLine.h"

#include "framework/CCommandLineInfoWords.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

CommandLineRequest ClassifyCommandLine(const std::vector<std::string>& arguments) {
    CommandLineRequest request;
    if (arguments.empty())
        return request;

    if (arguments.size() == 1) {
        const std::string lower = Lower(arguments[0]);
        if (lower == "/install") {
            request.kind = CommandLineKind::Install;
            return request;
        }
        if (lower == "/uninstall") {
            request.kind = CommandLineKind::Uninstall;
            return request;
        }
    }

    request.kind = CommandLineKind::Other;
    bool flagsEnded = false;
    for (const std::string& argument : arguments) {
        const CommandLineWord word = ReadCommandLineWord(argument, flagsEnded);
        if (word == CommandLineWord::EndOfFlags) {
            flagsEnded = true;
            continue;
        }
        if (word == CommandLineWord::Flag) {
            const std::string name = CommandLineFlagName(argument);
            if (name == "p") {
                request.print = true;
            } else if (name == "pt") {
                request.print = true;
                request.printTo = true;
            }
            continue; // other flags are accepted and ignored
        }
        if (request.fileName.empty())
            request.fileName = argument;
        else if (request.printTo && request.printerName.empty())
            request.printerName = argument;
        else if (request.printTo && request.driverName.empty())
            request.driverName = argument;
        else if (request.printTo && request.portName.empty())
            request.portName = argument;
    }

    if (arguments.size() == 1 && !request.fileName.empty())
        request.kind = CommandLineKind::OpenFile;
    return request;
}
