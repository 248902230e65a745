// The Options dialog without its window: reading the fixed column count and
// the messages that refuse it.
#pragma once

#include "display/RowLayout.h"

#include <optional>
#include <string>

// A row holds at most this many bytes, so a larger fixed count could not be
// shown as asked.
inline constexpr unsigned kMaxFixedColumns = CRowLayout::kMaxBytesPerRow;

// An unsigned decimal number: blanks around it, an optional "+", then digits
// only. nullopt for anything else, for a sign "-" (which would wrap to a huge
// count) and for a number beyond 32 bits.
std::optional<unsigned> ParseColumnCount(const std::string& text);

// Shown when the count is not a number; the dialog stays open on the field.
std::string NotAPositiveIntegerMessage();
// Shown when the count is larger than a row can hold.
std::string TooManyColumnsMessage();
