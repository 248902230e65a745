// Hexadecimal and display text: bytes survive the round trip through hex text,
// and the hex field's normalisation always yields the field's own form.
#include "FuzzCheck.h"
#include "commands/ByteTextConversions.h"
#include "commands/HexTextNormalise.h"
#include "display/CharsetTables.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

namespace {
bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int charSet = input.ConsumeIntegralInRange(0, 1);
    const std::size_t caret = input.ConsumeIntegralInRange<std::size_t>(0, size);
    const std::string text = input.ConsumeRemainingBytesAsString();

    FUZZ_CHECK(HexTextToBytes(BytesToHexText(text)) == text);
    (void)HexTextToBytes(text);
    const CByteString shown = BytesToDisplayText(text, charSet, EbcdicToAscii);
    (void)TextToBytes(text, charSet, AsciiToEbcdic);
    (void)shown;

    const NormalisedHexText out = NormaliseHexText(text, std::min(caret, text.size()));
    FUZZ_CHECK(out.caret <= out.text.size());
    FUZZ_CHECK(out.beeps >= 0);
    for (std::size_t i = 0; i < out.text.size(); ++i)
        FUZZ_CHECK(i % 3 == 2 ? out.text[i] == ' ' : IsHexDigit(out.text[i]));
    // Normalised text is left as it is.
    const NormalisedHexText again = NormaliseHexText(out.text, out.caret);
    FUZZ_CHECK(again.text == out.text && again.caret == out.caret);
    return 0;
}
