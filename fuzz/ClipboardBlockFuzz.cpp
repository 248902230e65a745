// The private clipboard block: any block decodes without harm, any bytes come
// back unchanged through a block, and pastes never reach past the content.
#include "FuzzCheck.h"
#include "commands/ClipboardBlock.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto dataLength = input.ConsumeIntegral<std::int64_t>();
    const auto contentLength = input.ConsumeIntegral<std::int64_t>();
    const auto caret = input.ConsumeIntegral<std::int64_t>();
    const CByteString bytes = input.ConsumeRemainingBytesAsString();

    (void)DecodeClipboardBlock(bytes);
    const std::optional<CByteString> back = DecodeClipboardBlock(EncodeClipboardBlock(bytes));
    FUZZ_CHECK(back && *back == bytes);
    const CByteString text = ClipboardTextPart(bytes);
    FUZZ_CHECK(text.find('\0') == CByteString::npos && bytes.compare(0, text.size(), text) == 0);

    if (dataLength >= 0 && contentLength >= 0 && caret >= 0 && caret <= contentLength) {
        const std::int64_t count = PasteCount(dataLength, contentLength, caret);
        FUZZ_CHECK(count >= 0 && count <= dataLength && count <= contentLength - caret);
    }
    return 0;
}
