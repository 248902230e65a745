#include "display/DisplayCodePage.h"

namespace {

// 0x80-0x9F; the five codes Windows-1252 leaves undefined keep their own value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t kDelete = 0x2302;

} // namespace

char16_t DisplayCodeToUnicode(unsigned char code) {
    // DEL has no glyph of its own in most fonts; the house sign is its usual picture.
    if (code == 0x7F)
        return kDelete;
    if (code >= 0x80 && code < 0xA0)
        return kHighControls[code - 0x80];
    return code;
}

int UnicodeToDisplayCode(char32_t ch) {
    if (ch == kDelete)
        return 0x7F;
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<int>(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

char16_t ByteToTextChar(unsigned char code) {
    return code == 0x7F ? char16_t{0x7F} : DisplayCodeToUnicode(code);
}
