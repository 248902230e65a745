// The go-to command without its dialog: reading the offset text, where it
// leads, and the caret box text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Radio group of the dialog, in its order.
enum GoToOrigin : int { kGoToStart = 0, kGoToEnd = 1, kGoToCaret = 2 };

// A signed 64-bit integer the way "%I64i" reads it: leading blanks, an optional
// sign, then 0x/0X for hexadecimal, a leading 0 for octal, else decimal; digits
// up to the first that does not belong to the base. nullopt when no digit is
// read, or when the number does not fit in 64 bits (rather than wrapping).
std::optional<std::int64_t> ParseOffsetText(const std::string& text);

// The caret's new offset: from the start, the end (length + value) or the caret,
// kept within 0 ... length. Any origin other than end or caret counts from the start.
std::int64_t GoToTarget(int origin, std::int64_t value, std::int64_t length, std::int64_t caret);

// "0x<HEX>" and "<decimal>" on two lines.
std::string FormatCaretBox(std::int64_t caret);

// Message 134, shown when the offset text is not a number.
std::string GoToBadOffsetMessage();
