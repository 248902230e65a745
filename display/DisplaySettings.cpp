#include "display/DisplaySettings.h"

namespace {

void PutInt32(ByteVector& out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(u >> shift));
}

std::int32_t GetInt32(const ByteVector& in, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | in[at + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(u);
}

// At most `limit` bytes, never ending inside a UTF-8 sequence.
std::string CutFaceName(std::string name, std::size_t limit) {
    if (name.size() <= limit)
        return name;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    name.resize(cut);
    return name;
}

// Heights and weights a font dialog produces; anything far outside is damage.
bool IsPlausible(const LogFont& font) {
    const auto within = [](std::int32_t v, std::int32_t low, std::int32_t high) {
        return v >= low && v <= high;
    };
    return within(font.lfHeight, -1000, 1000) && within(font.lfWidth, -1000, 1000) &&
           within(font.lfWeight, 0, 1000);
}

} // namespace

DisplaySettings::DisplaySettings() : font(DefaultDisplayFont()) {}

LogFont DefaultDisplayFont() {
    LogFont font;
    font.lfHeight = -13;
    font.lfFaceName = "Courier";
    return font;
}

ByteVector EncodeLogFont(const LogFont& font) {
    ByteVector out;
    out.reserve(kLogFontSize);
    for (std::int32_t v :
         {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight})
        PutInt32(out, v);
    for (std::uint8_t b :
         {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
          font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
        out.push_back(b);
    const std::string face = CutFaceName(font.lfFaceName, kFaceNameSize - 1);
    out.insert(out.end(), face.begin(), face.end());
    out.resize(kLogFontSize, 0);
    return out;
}

std::optional<LogFont> DecodeLogFont(const ByteVector& bytes) {
    if (bytes.size() != kLogFontSize)
        return std::nullopt;
    LogFont font;
    font.lfHeight = GetInt32(bytes, 0);
    font.lfWidth = GetInt32(bytes, 4);
    font.lfEscapement = GetInt32(bytes, 8);
    font.lfOrientation = GetInt32(bytes, 12);
    font.lfWeight = GetInt32(bytes, 16);
    font.lfItalic = bytes[20];
    font.lfUnderline = bytes[21];
    font.lfStrikeOut = bytes[22];
    font.lfCharSet = bytes[23];
    font.lfOutPrecision = bytes[24];
    font.lfClipPrecision = bytes[25];
    font.lfQuality = bytes[26];
    font.lfPitchAndFamily = bytes[27];
    std::string face;
    for (std::size_t i = 28; i < kLogFontSize && bytes[i] != 0; ++i)
        face += static_cast<char>(bytes[i]);
    font.lfFaceName = CutFaceName(face, kFaceNameSize - 1);
    return font;
}

ByteVector EncodePrintMargins(const PrintMargins& margins) {
    ByteVector out;
    out.reserve(kPrintMarginsSize);
    for (std::int32_t v : {margins.left, margins.top, margins.right, margins.bottom})
        PutInt32(out, v);
    return out;
}

std::optional<PrintMargins> DecodePrintMargins(const ByteVector& bytes) {
    if (bytes.size() != kPrintMarginsSize)
        return std::nullopt;
    return PrintMargins{GetInt32(bytes, 0), GetInt32(bytes, 4), GetInt32(bytes, 8),
                        GetInt32(bytes, 12)};
}

void LoadDisplaySettingsFrom(ISettingsSection& section, DisplaySettings& settings) {
    if (const auto bytes = section.ReadBinary("Font")) {
        const std::optional<LogFont> font = DecodeLogFont(*bytes);
        if (font && IsPlausible(*font))
            settings.font = *font;
    }
    settings.hexAddress = ReadSettingInt(section, "Hex Address", settings.hexAddress);
    settings.upperChars = ReadSettingInt(section, "Upper Characters", settings.upperChars);
    settings.fixedColumns = ReadSettingInt(section, "Fixed Columns", settings.fixedColumns);
    if (const auto bytes = section.ReadBinary("Print Margins")) {
        if (const std::optional<PrintMargins> margins = DecodePrintMargins(*bytes))
            settings.printMargins = *margins;
    }
    settings.openTextMode = ReadSettingInt(section, "OpenTextMode", settings.openTextMode);
}

void SaveDisplaySettingsTo(ISettingsSection& section, const DisplaySettings& settings) {
    section.WriteBinary("Font", EncodeLogFont(settings.font));
    section.WriteInt("Hex Address", settings.hexAddress);
    section.WriteInt("Upper Characters", settings.upperChars);
    section.WriteInt("Fixed Columns", settings.fixedColumns);
    section.WriteBinary("Print Margins", EncodePrintMargins(settings.printMargins));
    section.WriteInt("OpenTextMode", settings.openTextMode);
}
