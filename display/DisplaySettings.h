// The process-wide display settings and their stored form: the font as the
// 60-byte LOGFONT layout, the print margins as 16 bytes, and four integers.
#pragma once

#include "display/SettingsSection.h"

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::size_t kLogFontSize = 60;
inline constexpr std::size_t kFaceNameSize = 32; // with its terminating 0x00
inline constexpr std::size_t kPrintMarginsSize = 16;

struct LogFont {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName; // UTF-8, at most 31 bytes once stored

    bool operator==(const LogFont&) const = default;
};

// Thousandths of an inch.
struct PrintMargins {
    std::int32_t left = 1000;
    std::int32_t top = 1000;
    std::int32_t right = 1000;
    std::int32_t bottom = 1000;

    bool operator==(const PrintMargins&) const = default;
};

struct DisplaySettings {
    LogFont font;                  // see DefaultDisplayFont
    std::int32_t hexAddress = 1;   // addresses in hexadecimal
    std::int32_t upperChars = 0;   // bytes 0x7F-0xFF shown as "."
    std::int32_t fixedColumns = 0; // bytes per row from the window width
    PrintMargins printMargins;
    std::int32_t openTextMode = 2; // ask before opening a text file

    DisplaySettings();
    bool operator==(const DisplaySettings&) const = default;
};

// "Courier", height -13, every other field 0.
LogFont DefaultDisplayFont();

// Little-endian layout: five int32, eight bytes, 32-byte face name. A face name
// longer than 31 bytes is cut on a character boundary.
ByteVector EncodeLogFont(const LogFont& font);
// nullopt unless exactly 60 bytes. A face name with no terminator is cut to 31 bytes.
std::optional<LogFont> DecodeLogFont(const ByteVector& bytes);

ByteVector EncodePrintMargins(const PrintMargins& margins);
std::optional<PrintMargins> DecodePrintMargins(const ByteVector& bytes);

// Reads the six stored values over `settings`; a missing value, or one of the
// wrong type or size, leaves the value in `settings` as it was.
void LoadDisplaySettingsFrom(ISettingsSection& section, DisplaySettings& settings);
// Writes all six, in their fixed order.
void SaveDisplaySettingsTo(ISettingsSection& section, const DisplaySettings& settings);
