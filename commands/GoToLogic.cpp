#include "commands/GoToLogic.h"

#include "resources/StringTable.h"

#include <limits>

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    if (b > 0 && a > kMax - b)
        return kMax;
    if (b < 0 && a < kMin - b)
        return kMin;
    return a + b;
}

} // namespace

std::optional<std::int64_t> ParseOffsetText(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    int base = 10;
    if (pos + 1 < text.size() && text[pos] == '0' &&
        (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    } else if (pos < text.size() && text[pos] == '0') {
        base = 8;
    }

    // The magnitude may reach 2^63 for the most negative value.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    bool anyDigit = false;
    for (; pos < text.size(); ++pos) {
        const int digit = DigitValue(text[pos]);
        if (digit >= base)
            break;
        if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / static_cast<unsigned>(base))
            return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        anyDigit = true;
    }
    if (!anyDigit)
        return std::nullopt;
    if (negative)
        return static_cast<std::int64_t>(0 - magnitude);
    return static_cast<std::int64_t>(magnitude);
}

std::int64_t GoToTarget(int origin, std::int64_t value, std::int64_t length, std::int64_t caret) {
    std::int64_t target = value;
    if (origin == kGoToEnd)
        target = SaturatingAdd(length, value);
    else if (origin == kGoToCaret)
        target = SaturatingAdd(caret, value);
    if (target < 0)
        return 0;
    return target > length ? length : target;
}

std::string FormatCaretBox(std::int64_t caret) {
    // Qt's multi-line edits break lines on '\n' alone.
    const auto u = static_cast<unsigned long long>(caret);
    return res::FormatPrintf("0x%I64X\n%I64u", u, u);
}

std::string GoToBadOffsetMessage() {
    return res::LoadString(134);
}
