// The desktop entry reader, the value quoting and the Exec line check: any
// entry text is read without harm, escaped values come back unchanged, and a
// file code as the script of sh -c stays refused whatever follows it.
#include "FuzzCheck.h"
#include "app/DesktopEntry.h"
#include "document/ExecLine.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string value = input.ConsumeRandomLengthString(256);
    const std::string entry = input.ConsumeRemainingBytesAsString();

    (void)desktopentry::RecordedProgram(entry);
    (void)desktopentry::UnescapeValue(entry);
    const std::string escaped = desktopentry::EscapeValue(value);
    FUZZ_CHECK(escaped.find('\n') == std::string::npos);
    FUZZ_CHECK(desktopentry::UnescapeValue(escaped) == value);
    (void)desktopentry::QuoteExecArgument(value);
    // A program path written into an entry is read back as written.
    const std::optional<std::string> recorded =
        desktopentry::RecordedProgram(desktopentry::OpenWithEntry(value));
    FUZZ_CHECK(recorded && *recorded == value);

    (void)execline::ClassifyFileCodes(entry);
    (void)execline::PlainFileName(value);
    FUZZ_CHECK(execline::ClassifyFileCodes("sh -c %f " + value) ==
               execline::FileCodeUse::ShellCode);
    return 0;
}
