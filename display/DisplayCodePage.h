// The characters behind display codes 0x20-0xFF. Codes 0x80-0x9F are drawn as
// the Windows-1252 characters (the euro sign, typographic quotes, ...), the
// others as Latin-1 (0x7F as the house sign), so what the character column shows and what a typed
// character stores agree.
#pragma once

// The Unicode character drawn for a display code.
char16_t DisplayCodeToUnicode(unsigned char code);

// The display code of a typed character, or -1 when it has none.
int UnicodeToDisplayCode(char32_t ch);

// The character other programs get for a byte in text (the clipboard): the
// same table, but 0x7F stays the control character it is.
char16_t ByteToTextChar(unsigned char code);
