#include "display/SettingsSection.h"

#include <limits>

std::optional<std::int32_t> ParseSettingInt(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos)
        return std::nullopt;
    const std::string trimmed = text.substr(begin, end - begin + 1);
    if (trimmed == "true")
        return 1;
    if (trimmed == "false")
        return 0;

    size_t pos = 0;
    bool negative = false;
    if (trimmed[0] == '+' || trimmed[0] == '-') {
        negative = trimmed[0] == '-';
        ++pos;
    }
    if (pos == trimmed.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; pos < trimmed.size(); ++pos) {
        const char c = trimmed[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t ReadSettingInt(ISettingsSection& section, const std::string& name,
                            std::int32_t current) {
    const std::optional<std::string> text = section.ReadText(name);
    if (!text)
        return current;
    return ParseSettingInt(*text).value_or(current);
}
