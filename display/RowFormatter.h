// Text of one row of the hex display: address, hexadecimal pairs and display
// characters, written from lookup tables (no printf per byte; a row is formatted
// for every painted line).
#pragma once

#include "display/CharSet.h"
#include "display/RowLayout.h"

#include <cstdint>

// The code drawn in the character column for byte b: the byte itself (through
// EbcdicToAscii in EBCDIC mode), or '.' for codes below 0x20 and, unless
// showUpper, for 0x7F and above.
unsigned char DisplayChar(unsigned char b, int charSet, bool showUpper);

class CRowFormatter {
public:
    CRowFormatter() { m_layout.SetColumns(16, CRowLayout::kMinAddressDigits); }
    void Configure(int bytesPerRow, int addressDigits, bool hexAddress, bool showUpper,
                   int charSet);

    // Writes one row (blanks, the address when showAddress, then the pairs and
    // characters of the first `count` bytes) into `line`, which must hold
    // CRowLayout::kMaxRowCells codes; returns the row's length in cells.
    int Format(unsigned char* line, std::int64_t address, bool showAddress,
               const unsigned char* bytes, int count) const;

    int RowCells() const { return m_layout.RowCells(); }

private:
    void WriteAddress(unsigned char* line, std::uint64_t address) const;

    // Where the pairs and characters go; only the columns are used.
    CRowLayout m_layout;
    bool m_bHexAddress = true;
    const unsigned char* m_pCharTable = nullptr;
};
