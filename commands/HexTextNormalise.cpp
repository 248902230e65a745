#include "commands/HexTextNormalise.h"

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

} // namespace

NormalisedHexText NormaliseHexText(std::string text, std::size_t caret) {
    NormalisedHexText out;
    std::size_t n = 0;
    while (n < text.size()) {
        if (n % 3 == 2) {
            if (text[n] != ' ') {
                text.insert(n, 1, ' ');
                if (n < caret)
                    ++caret;
            }
            ++n;
            continue;
        }
        if (text[n] == ' ') {
            text.erase(n, 1);
            if (n < caret)
                --caret;
            if (n >= text.size()) {
                ++out.beeps;
                break;
            }
        }
        if (text[n] >= 'a' && text[n] <= 'z')
            text[n] = static_cast<char>(text[n] - 'a' + 'A');
        if (!IsHexDigit(text[n])) {
            text.erase(n, 1);
            if (n < caret)
                --caret;
            ++out.beeps;
            continue; // look at the character that moved in
        }
        ++n;
    }
    out.text = std::move(text);
    out.caret = caret;
    return out;
}
