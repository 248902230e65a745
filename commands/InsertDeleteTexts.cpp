#include "commands/InsertDeleteTexts.h"

#include "resources/StringTable.h"

#include <limits>

namespace {

// Gives every integer conversion of a stored text the 64-bit size, so offsets
// beyond 4 GB print in full.
std::string WidenTo64(const std::string& format) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        out += format[i];
        if (format[i] != '%' || i + 1 == format.size())
            continue;
        const char next = format[i + 1];
        if (next == '%') {
            out += format[++i];
        } else if (next == 'd' || next == 'i' || next == 'u' || next == 'x' || next == 'X') {
            out += "I64";
        }
    }
    return out;
}

} // namespace

std::string FormatDeleteQuestion(std::int64_t start, std::int64_t length) {
    const std::string format = WidenTo64(res::LoadString(133));
    return res::FormatPrintf(format.c_str(), static_cast<long long>(length),
                             static_cast<unsigned long long>(start),
                             static_cast<unsigned long long>(start));
}

std::optional<std::uint32_t> ParseUnsignedDecimal(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::nullopt;
    const size_t end = text.find_last_not_of(" \t") + 1;
    std::uint64_t value = 0;
    for (size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

InsertDialogInput ValidateInsertDialog(const std::string& countText, const std::string& valueText) {
    InsertDialogInput input;
    const std::optional<std::uint32_t> count = ParseUnsignedDecimal(countText);
    if (!count) {
        input.faultyField = kInsertCountField;
        input.message = res::LoadString(61719);
        return input;
    }
    const std::optional<std::uint32_t> value = ParseUnsignedDecimal(valueText);
    if (!value) {
        input.faultyField = kInsertValueField;
        input.message = res::LoadString(61719);
        return input;
    }
    if (*value > 255) {
        input.faultyField = kInsertValueField;
        input.message = res::FormatArgs(res::LoadString(61714), {"0", "255"});
        return input;
    }
    input.ok = true;
    input.count = *count;
    input.value = static_cast<std::uint8_t>(*value);
    return input;
}
