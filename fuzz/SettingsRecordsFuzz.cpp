// The binary records kept in the settings (font, print margins, window
// placement): any stored bytes are read without harm, and whatever is read is
// written back to the same record.
#include "FuzzCheck.h"
#include "display/DisplaySettings.h"
#include "frames/WindowPlacement.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <map>

namespace {
// A settings section holding whatever the input says.
class FuzzedSection : public ISettingsSection {
public:
    std::optional<ByteVector> ReadBinary(const std::string& name) override {
        const auto it = m_binary.find(name);
        return it == m_binary.end() ? std::nullopt : std::optional<ByteVector>(it->second);
    }
    std::optional<std::string> ReadText(const std::string& name) override {
        const auto it = m_text.find(name);
        return it == m_text.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void WriteBinary(const std::string& name, const ByteVector& bytes) override {
        m_binary[name] = bytes;
    }
    void WriteInt(const std::string& name, std::int32_t value) override {
        m_text[name] = std::to_string(value);
    }
    std::map<std::string, ByteVector> m_binary;
    std::map<std::string, std::string> m_text;
};

template <class Record, class Decode, class Encode>
void RoundTrip(const ByteVector& bytes, Decode decode, Encode encode) {
    const std::optional<Record> record = decode(bytes);
    if (!record)
        return;
    const std::optional<Record> again = decode(encode(*record));
    FUZZ_CHECK(again && *again == *record);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // Mostly records of the right sizes, which is where the decoding is.
    const std::size_t sizes[] = {kLogFontSize, kPrintMarginsSize, kWindowPlacementSize,
                                 input.ConsumeIntegralInRange<std::size_t>(0, 80)};
    const std::size_t recordSize = sizes[input.ConsumeIntegralInRange(0, 3)];
    const ByteVector bytes = input.ConsumeBytes<std::uint8_t>(recordSize);

    RoundTrip<LogFont>(bytes, DecodeLogFont, EncodeLogFont);
    RoundTrip<PrintMargins>(bytes, DecodePrintMargins, EncodePrintMargins);
    RoundTrip<WindowPlacement>(bytes, DecodeWindowPlacement, EncodeWindowPlacement);
    (void)RestoreMainWindow(bytes);
    (void)RestoreCursorWindow(bytes, WindowPoint{input.ConsumeIntegral<std::int32_t>(),
                                                 input.ConsumeIntegral<std::int32_t>()});
    (void)RestoreBarVisible(input.ConsumeRandomLengthString(12));

    // The whole section read from stored values of any type and size.
    FuzzedSection section;
    for (const char* name : {"Font", "Hex Address", "Upper Characters", "Fixed Columns",
                             "Print Margins", "OpenTextMode"}) {
        if (input.ConsumeBool())
            section.m_binary[name] = input.ConsumeBytes<std::uint8_t>(
                input.ConsumeBool() ? recordSize : input.ConsumeIntegralInRange(0, 70));
        else
            section.m_text[name] = input.ConsumeRandomLengthString(16);
    }
    DisplaySettings settings;
    LoadDisplaySettingsFrom(section, settings);
    FuzzedSection saved;
    SaveDisplaySettingsTo(saved, settings);
    DisplaySettings reloaded;
    LoadDisplaySettingsFrom(saved, reloaded);
    FUZZ_CHECK(reloaded == settings);
    return 0;
}
