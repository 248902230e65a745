// The character sets of the character column and of text typed for bytes.
#pragma once

enum CharSet : int { kCharSetAscii = 0, kCharSetEbcdic = 1 };
