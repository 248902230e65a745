#include "commands/ByteTextConversions.h"

#include "storage/Digits.h"

namespace {

unsigned char Translate(unsigned char c, int charSet, const unsigned char* table) {
    return charSet == kCharSetEbcdic && table ? table[c] : c;
}

} // namespace

CByteString BytesToHexText(const CByteString& bytes) {
    CByteString hex;
    hex.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex += kHexDigits[b >> 4];
        hex += kHexDigits[b & 0x0F];
        hex += ' ';
    }
    return hex;
}

CByteString HexTextToBytes(const CByteString& hex) {
    CByteString bytes;
    bytes.reserve(hex.size() / 3 + 1);
    unsigned high = 0;
    for (size_t j = 0; j < hex.size(); ++j) {
        // Digit arithmetic on the signed code: '0'-'9' and 'A'-'F' give 0-15.
        const int k = static_cast<signed char>(hex[j]);
        const int v = k > 0x39 ? k - 0x37 : k - 0x30;
        switch (j % 3) {
        case 0:
            high = (static_cast<unsigned>(v) << 4) & 0xFF;
            break;
        case 1:
            bytes += static_cast<char>((high | static_cast<unsigned>(v)) & 0xFF);
            break;
        default:
            break;
        }
    }
    return bytes;
}

CByteString TextToBytes(const CByteString& text, int charSet, const unsigned char* asciiToEbcdic) {
    if (charSet != kCharSetEbcdic || !asciiToEbcdic)
        return text;
    CByteString bytes;
    bytes.reserve(text.size());
    for (const char c : text) {
        const unsigned char b = asciiToEbcdic[static_cast<unsigned char>(c)];
        if (b == 0)
            break;
        bytes += static_cast<char>(b);
    }
    return bytes;
}

CByteString BytesToDisplayText(const CByteString& bytes, int charSet,
                               const unsigned char* ebcdicToAscii) {
    CByteString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const unsigned char b = Translate(static_cast<unsigned char>(c), charSet, ebcdicToAscii);
        if (b == 0)
            break;
        text += (b < 0x20 || b >= 0x80) ? '.' : static_cast<char>(b);
    }
    return text;
}
