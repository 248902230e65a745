#include "commands/FindAllResults.h"

#include "display/CharSet.h"
#include "display/CharsetTables.h"
#include "storage/CPieceFile64.h"
#include "storage/Digits.h"

#include <algorithm>

CFindAllResults FindAllOccurrences(const CPieceFile64& file, const CByteString& pattern,
                                   bool matchCase, std::int64_t start, std::int64_t end,
                                   const FindAllProgress& onBlock) {
    CFindAllResults results;
    results.m_pattern = pattern;
    results.m_bMatchCase = matchCase;
    results.m_nStart = start;
    results.m_nEnd = end;
    results.m_bComplete = file.FindAll(
        pattern, matchCase, start, end,
        [&results](std::int64_t offset) {
            results.Add(offset);
            return true;
        },
        [&](std::int64_t reached) { return onBlock && onBlock(reached, results.m_nCount); });
    return results;
}

std::string FormatResultOffset(std::int64_t offset, bool hexAddress) {
    // Hexadecimal offsets take at least 8 digits, decimal ones what they need.
    const int digits = AddressDigits(offset, hexAddress, hexAddress ? 8 : 1);
    std::string text(static_cast<std::size_t>(digits), '0');
    WriteDigits(text.data(), static_cast<std::uint64_t>(std::max<std::int64_t>(offset, 0)), digits,
                hexAddress);
    return hexAddress ? "0x" + text : text;
}

std::string FormatResultRow(std::int64_t offset, bool hexAddress, const std::uint8_t* bytes,
                            int count, int before, int matchLength, int charSet) {
    const int matchEnd = std::min(before + matchLength, count);
    std::string hex;
    std::string chars;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            hex += ' ';
        if (i == before)
            hex += '[';
        hex += kHexDigits[bytes[i] >> 4];
        hex += kHexDigits[bytes[i] & 15];
        if (i + 1 == matchEnd)
            hex += ']';
        const std::uint8_t code = charSet == kCharSetEbcdic ? EbcdicToAscii[bytes[i]] : bytes[i];
        chars += code >= 0x20 && code < 0x7F ? static_cast<char>(code) : '.';
    }
    return FormatResultOffset(offset, hexAddress) + "   " + hex + "   " + chars;
}
