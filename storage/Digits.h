// Numbers as digits: the one hexadecimal digit table that bytes, addresses and
// digests are written from, and how many digits an address column needs. Kept
// here, below every layer that writes bytes as text (the row and print
// formatters, the text conversions, find-all, checksums), so none keeps a copy.
#pragma once

#include <algorithm>
#include <cstdint>

// Bytes and addresses always show upper-case digits, whatever the settings.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";
// Digests are written in lower case, as the command-line digest tools do.
inline constexpr char kLowerHexDigits[] = "0123456789abcdef";

// The digits `value` takes in hexadecimal (hex) or decimal; 0 takes one.
constexpr int DigitCount(std::uint64_t value, bool hex) {
    const std::uint64_t base = hex ? 16 : 10;
    int digits = 1;
    for (; value >= base; value /= base)
        ++digits;
    return digits;
}

// The width of an address column whose widest address is `lastAddress`:
// `minimum` digits, or as many as that address needs, so no digit is ever cut.
// A negative address (an empty range before 0) counts as 0.
constexpr int AddressDigits(std::int64_t lastAddress, bool hex, int minimum) {
    const auto last = static_cast<std::uint64_t>(std::max<std::int64_t>(lastAddress, 0));
    return std::max(minimum, DigitCount(last, hex));
}

// Writes `value` into out[0, digits), zero-padded, in hexadecimal (upper case)
// or decimal. Digits beyond `digits` are dropped: size the field with
// AddressDigits.
constexpr void WriteDigits(char* out, std::uint64_t value, int digits, bool hex) {
    const unsigned base = hex ? 16U : 10U;
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = kHexDigits[value % base];
        value /= base;
    }
}
