#include "display/OptionsLogic.h"

#include <cstdint>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::optional<unsigned> ParseColumnCount(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    const std::size_t firstDigit = i;
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    if (i == firstDigit)
        return std::nullopt;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    return static_cast<unsigned>(value);
}

std::string NotAPositiveIntegerMessage() {
    return "SVP entrer un nombre entier positif.";
}

std::string TooManyColumnsMessage() {
    return "Une ligne ne peut pas montrer plus de " + std::to_string(kMaxFixedColumns) +
           " octets : entrer un nombre de colonnes entre 0 et " + std::to_string(kMaxFixedColumns) +
           ".";
}
