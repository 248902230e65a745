// One section of the settings profile ("Settings"), as the display and window
// settings read and write it. The Qt side implements it over QSettings; the
// rules for what is stored live in Qt-free code and are tested without it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using ByteVector = std::vector<std::uint8_t>;

class ISettingsSection {
public:
    virtual ~ISettingsSection() = default;

    // The value when it exists and is binary; nullopt otherwise.
    virtual std::optional<ByteVector> ReadBinary(const std::string& name) = 0;
    // The value as text when it exists and is not binary (integers come back as
    // their decimal text); nullopt otherwise.
    virtual std::optional<std::string> ReadText(const std::string& name) = 0;
    virtual void WriteBinary(const std::string& name, const ByteVector& bytes) = 0;
    virtual void WriteInt(const std::string& name, std::int32_t value) = 0;
};

// A stored integer: optional blanks, an optional sign and decimal digits within
// 32 bits, or "true"/"false" as Qt writes booleans. Anything else is nullopt.
std::optional<std::int32_t> ParseSettingInt(const std::string& text);

// The stored integer, or `current` when it is missing or not an integer.
std::int32_t ReadSettingInt(ISettingsSection& section, const std::string& name,
                            std::int32_t current);
