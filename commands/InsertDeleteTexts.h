// Texts and input checks of the insert and delete commands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr int kInsertCountField = 1008;
inline constexpr int kInsertValueField = 1009;

// Message 133 for deleting `length` bytes at `start`, every value in full 64 bits.
std::string FormatDeleteQuestion(std::int64_t start, std::int64_t length);

// An unsigned 32-bit decimal number: digits only, with blanks and tabs around
// them. nullopt for anything else, a sign included, or a value above 32 bits.
std::optional<std::uint32_t> ParseUnsignedDecimal(const std::string& text);

struct InsertDialogInput {
    bool ok = false;
    std::uint32_t count = 0;
    std::uint8_t value = 0;
    int faultyField = 0; // the edit to put the focus on when not ok
    std::string message; // 61719 or 61714, to show when not ok
};

// The dialog's check on OK: the count first, then the initial value (0 to 255).
InsertDialogInput ValidateInsertDialog(const std::string& countText, const std::string& valueText);
