#include "display/RowFormatter.h"

#include "display/CharsetTables.h"
#include "storage/Digits.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::array<unsigned char, 512> MakeHexPairs() {
    std::array<unsigned char, 512> t{};
    for (int b = 0; b < 256; ++b) {
        t[2 * b] = static_cast<unsigned char>(kHexDigits[b >> 4]);
        t[2 * b + 1] = static_cast<unsigned char>(kHexDigits[b & 15]);
    }
    return t;
}

// The pair of a byte followed by two blanks: one store writes a byte's cells
// and its separator, and the next store overwrites the second blank.
constexpr std::array<unsigned char, 1024> MakeHexQuads() {
    std::array<unsigned char, 1024> t{};
    for (int b = 0; b < 256; ++b) {
        t[4 * b] = static_cast<unsigned char>(kHexDigits[b >> 4]);
        t[4 * b + 1] = static_cast<unsigned char>(kHexDigits[b & 15]);
        t[4 * b + 2] = ' ';
        t[4 * b + 3] = ' ';
    }
    return t;
}

constexpr std::array<unsigned char, 200> MakeDecimalPairs() {
    std::array<unsigned char, 200> t{};
    for (int v = 0; v < 100; ++v) {
        t[2 * v] = static_cast<unsigned char>('0' + v / 10);
        t[2 * v + 1] = static_cast<unsigned char>('0' + v % 10);
    }
    return t;
}

constexpr unsigned char DisplayCharOf(unsigned char b, int charSet, bool showUpper) {
    const unsigned char ch = charSet == kCharSetEbcdic ? EbcdicToAscii[b] : b;
    if (ch < 0x20 || (!showUpper && ch >= 0x7F))
        return '.';
    return ch;
}

constexpr std::array<unsigned char, 256> MakeCharTable(int charSet, bool showUpper) {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = DisplayCharOf(static_cast<unsigned char>(b), charSet, showUpper);
    return t;
}

constexpr auto kHexPairs = MakeHexPairs();
constexpr auto kHexQuads = MakeHexQuads();
constexpr auto kDecimalPairs = MakeDecimalPairs();
// Indexed by charSet * 2 + showUpper.
constexpr std::array<std::array<unsigned char, 256>, 4> kCharTables = {
    MakeCharTable(kCharSetAscii, false), MakeCharTable(kCharSetAscii, true),
    MakeCharTable(kCharSetEbcdic, false), MakeCharTable(kCharSetEbcdic, true)};

} // namespace

unsigned char DisplayChar(unsigned char b, int charSet, bool showUpper) {
    return DisplayCharOf(b, charSet, showUpper);
}

void CRowFormatter::Configure(int bytesPerRow, int addressDigits, bool hexAddress, bool showUpper,
                              int charSet) {
    m_layout.SetColumns(bytesPerRow, addressDigits);
    m_bHexAddress = hexAddress;
    const int set = charSet == kCharSetEbcdic ? 1 : 0;
    m_pCharTable = kCharTables[static_cast<size_t>(set * 2 + (showUpper ? 1 : 0))].data();
}

void CRowFormatter::WriteAddress(unsigned char* line, std::uint64_t address) const {
    int i = m_layout.m_nAddressDigits;
    if (m_bHexAddress) {
        // Two digits per step, from the same table as the bytes.
        while (i >= 2) {
            i -= 2;
            std::memcpy(line + i, &kHexPairs[2 * (address & 0xFF)], 2);
            address >>= 8;
        }
        if (i == 1)
            line[0] = static_cast<unsigned char>(kHexDigits[address & 15]);
        return;
    }
    while (i >= 2) {
        const unsigned pair = static_cast<unsigned>(address % 100);
        address /= 100;
        i -= 2;
        std::memcpy(line + i, &kDecimalPairs[2 * pair], 2);
    }
    if (i == 1)
        line[0] = static_cast<unsigned char>('0' + address % 10);
}

int CRowFormatter::Format(unsigned char* line, std::int64_t address, bool showAddress,
                          const unsigned char* bytes, int count) const {
    const int bpr = m_layout.m_nBytesPerRow;
    const int digits = m_layout.m_nAddressDigits;
    if (showAddress)
        WriteAddress(line, static_cast<std::uint64_t>(address));
    else
        std::memset(line, ' ', static_cast<size_t>(digits));
    // The blanks between the address and the first pair.
    std::memset(line + digits, ' ', static_cast<size_t>(m_layout.HexColumn() - digits));
    count = std::clamp(count, 0, bpr);
    unsigned char* hex = line + m_layout.HexCell(0);
    unsigned char* chars = line + m_layout.CharCell(0);
    const unsigned char* table = m_pCharTable ? m_pCharTable : kCharTables[0].data();
    for (int i = 0; i < count; ++i) {
        const unsigned char b = bytes[i];
        std::memcpy(hex + 3 * i, &kHexQuads[4 * b], 4);
        chars[i] = table[b];
    }
    if (count < bpr) {
        // Blanks for the missing bytes, up to the blank before the characters.
        std::memset(hex + 3 * count, ' ', static_cast<size_t>(3 * (bpr - count) + 1));
        std::memset(chars + count, ' ', static_cast<size_t>(bpr - count));
    }
    return RowCells();
}
