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

// A blank in a digit position is dropped silently, except that it beeps when
// nothing follows it; the character that moves into its place is judged like
// any other, so of two blanks in a row the second is dropped with a beep. Any
// other non-hex character there is dropped with a beep; a missing separator
// blank is inserted.
NormalisedHexText NormaliseHexText(std::string text, std::size_t caret);
