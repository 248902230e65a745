// The command line: any arguments (split at NUL bytes) are classified without
// harm, into a request that holds together. The same words, as an Exec line,
// go through the hand-off's check.
#include "FuzzCheck.h"
#include "app/CommandLine.h"
#include "document/ExecLine.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    std::string text(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; start <= text.size() && !text.empty();) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::string exec;
    for (const std::string& argument : arguments)
        exec += (exec.empty() ? "" : " ") + argument;
    (void)execline::ClassifyFileCodes(exec);

    const CommandLineRequest request = ClassifyCommandLine(arguments);
    FUZZ_CHECK(!request.printTo || request.print);
    if (arguments.empty())
        FUZZ_CHECK(request.kind == CommandLineKind::None);
    if (request.kind == CommandLineKind::OpenFile)
        FUZZ_CHECK(arguments.size() == 1 && request.fileName == arguments[0]);
    return 0;
}
