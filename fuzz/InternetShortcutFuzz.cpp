// Internet shortcut files: any text is read without harm, and a web address
// found is one.
#include "FuzzCheck.h"
#include "app/InternetShortcut.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> url = InternetShortcutUrl(text);
    if (url) {
        FUZZ_CHECK(!url->empty());
        FUZZ_CHECK(url->find('\n') == std::string::npos);
        (void)IsWebAddress(*url);
    }
    (void)IsWebAddress(text);
    return 0;
}
