// The go-to offset text: any text parses or is refused without harm, and the
// target is always inside the content.
#include "FuzzCheck.h"
#include "commands/GoToLogic.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int origin = input.ConsumeIntegralInRange(-1, 3);
    const std::int64_t length = input.ConsumeIntegralInRange<std::int64_t>(0, INT64_MAX);
    const std::int64_t caret = input.ConsumeIntegralInRange<std::int64_t>(0, length);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::optional<std::int64_t> value = ParseOffsetText(text);
    if (value) {
        const std::int64_t target = GoToTarget(origin, *value, length, caret);
        FUZZ_CHECK(target >= 0 && target <= length);
    }
    // What the caret box shows reads back as the caret.
    const std::string box = FormatCaretBox(caret);
    const std::optional<std::int64_t> hex = ParseOffsetText(box.substr(0, box.find('\n')));
    FUZZ_CHECK(hex && *hex == caret);
    return 0;
}
