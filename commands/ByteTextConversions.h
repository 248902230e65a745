// Conversions between bytes, hexadecimal text ("00 1F A0 ") and display text,
// used by the find and replace dialogs.
//
// The character set is an int: 1 is EBCDIC, anything else ASCII. The EBCDIC
// translation tables (256 entries each) are passed in by the caller, so these
// functions do not depend on where the tables live; a null table leaves the
// bytes untranslated.
#pragma once

#include "display/CharSet.h"
#include "storage/ByteString.h"

// Two upper-case digits and a blank per byte.
CByteString BytesToHexText(const CByteString& bytes);

// Reads three characters per byte: high digit, low digit, a separator that is
// skipped whatever it is. A last lone digit is dropped. Meant for text the hex
// field keeps normalised; other characters still give a value, never an error.
CByteString HexTextToBytes(const CByteString& hex);

// The text's codes as bytes; in EBCDIC translated, ending before the first 0x00
// the translation produces.
CByteString TextToBytes(const CByteString& text, int charSet, const unsigned char* asciiToEbcdic);

// One character per byte (translated from EBCDIC first), ending before the
// first 0x00; codes 0x01-0x1F and 0x80-0xFF show as '.'.
CByteString BytesToDisplayText(const CByteString& bytes, int charSet,
                               const unsigned char* ebcdicToAscii);
