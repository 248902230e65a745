// The hex field's typing rule: digits upper case in the two digit positions of
// every three characters, a blank in the third. What does not fit is removed.
#pragma once

#include <cstddef>
#include <string>

struct NormalisedHexText {
    std::string text;
    std::size_t caret = 0; // the caret, moved with the characters before it
    int beeps = 0;         // one per rejected character
};

// A blank in a digit position is dropped silently, with a beep only when nothing
// follows it; any other non-hex character there is dropped with a beep; a
// missing separator blank is inserted.
NormalisedHexText NormaliseHexText(std::string text, std::size_t caret);
