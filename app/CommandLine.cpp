#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsKnownSlashOption(const std::string& name) {
    static const char* const kNames[] = {"p",           "pt",        "dde",
                                         "automation",  "embedding", "unregister",
                                         "unregserver", "install",   "uninstall"};
    const std::string lower = Lower(name);
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&](const char* known) { return lower == known; });
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
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        const bool dashOption = argument.size() > 1 && argument[0] == '-';
        const bool slashOption =
            argument.size() > 1 && argument[0] == '/' && IsKnownSlashOption(argument.substr(1));
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (dashOption || slashOption)) {
            const std::string name = Lower(argument.substr(1));
            if (name == "p") {
                request.print = true;
            } else if (name == "pt") {
                request.print = true;
                request.printTo = true;
            }
            continue; // other options are accepted and ignored
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
