// Byte strings: counted, may hold 0x00. Used for search patterns, clipboard
// data and dialog texts alike.
#pragma once

#include <string>

using CByteString = std::string;
