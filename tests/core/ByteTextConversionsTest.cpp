#include "commands/ByteTextConversions.h"
#include "commands/HexTextNormalise.h"
#include "display/RowFormatter.h" // both name the character sets

#include <gtest/gtest.h>

#include <array>

using namespace std::string_literals;

namespace {

// Enough of a translation table for the tests: 'A' <-> 0xC1, '\0' from 0xFF.
struct Tables {
    std::array<unsigned char, 256> toEbcdic{}, toAscii{};
    Tables() {
        for (int i = 0; i < 256; ++i)
            toEbcdic[i] = toAscii[i] = static_cast<unsigned char>(i);
        toEbcdic['A'] = 0xC1;
        toAscii[0xC1] = 'A';
        toEbcdic['Z'] = 0x00;
    }
};

} // namespace

TEST(ByteTextConversions, HexTextRoundTrip) {
    EXPECT_EQ(BytesToHexText(""), "");
    EXPECT_EQ(BytesToHexText("\x0A"), "0A ");
    EXPECT_EQ(BytesToHexText("\x00\x1F\xA0"s), "00 1F A0 ");
    CByteString all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    EXPECT_EQ(HexTextToBytes(BytesToHexText(all)), all);

    EXPECT_EQ(HexTextToBytes("41 4"), "A");
    EXPECT_EQ(HexTextToBytes("4"), "");
    EXPECT_EQ(HexTextToBytes("41x42"), "AB");
    EXPECT_EQ(HexTextToBytes("FF"), "\xFF");
}

TEST(ByteTextConversions, DisplayTextShowsPrintableAsciiOnly) {
    EXPECT_EQ(BytesToDisplayText("A\tB\xC9", 0, nullptr), "A.B.");
    EXPECT_EQ(BytesToDisplayText("A\0B"s, 0, nullptr), "A");
    EXPECT_EQ(BytesToDisplayText("\x7F", 0, nullptr), "\x7F");
    EXPECT_EQ(BytesToDisplayText(" ~\x80", 0, nullptr), " ~.");
    EXPECT_EQ(TextToBytes("\xE9t\xE9", 0, nullptr), "\xE9t\xE9");
}

TEST(ByteTextConversions, EbcdicGoesThroughTheGivenTables) {
    const Tables t;
    EXPECT_EQ(TextToBytes("A", kCharSetEbcdic, t.toEbcdic.data()), "\xC1");
    EXPECT_EQ(TextToBytes("AZA", kCharSetEbcdic, t.toEbcdic.data()), "\xC1");
    EXPECT_EQ(BytesToDisplayText("\xC1", kCharSetEbcdic, t.toAscii.data()), "A");
    // Any value other than 1 is ASCII.
    EXPECT_EQ(TextToBytes("A", 2, t.toEbcdic.data()), "A");
    EXPECT_EQ(BytesToDisplayText("\xC1", 0, t.toAscii.data()), ".");
}

TEST(HexTextNormalise, TypingRules) {
    NormalisedHexText r = NormaliseHexText("414", 3);
    EXPECT_EQ(r.text, "41 4");
    EXPECT_EQ(r.caret, 4u);
    EXPECT_EQ(r.beeps, 0);
    EXPECT_EQ(HexTextToBytes(r.text), "A");

    r = NormaliseHexText("a", 1);
    EXPECT_EQ(r.text, "A");
    EXPECT_EQ(r.beeps, 0);

    r = NormaliseHexText("g", 1);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.caret, 0u);
    EXPECT_EQ(r.beeps, 1);

    // A blank after a lone digit at the end goes, with a beep.
    r = NormaliseHexText("4 ", 2);
    EXPECT_EQ(r.text, "4");
    EXPECT_EQ(r.caret, 1u);
    EXPECT_EQ(r.beeps, 1);

    // A blank where the separator belongs stays.
    r = NormaliseHexText("41 ", 3);
    EXPECT_EQ(r.text, "41 ");
    EXPECT_EQ(r.beeps, 0);

    r = NormaliseHexText("1GG", 3);
    EXPECT_EQ(r.text, "1");
    EXPECT_EQ(r.caret, 1u);
    EXPECT_EQ(r.beeps, 2);

    // A blank followed by more text goes silently; the caret before it stays.
    r = NormaliseHexText("4 1", 0);
    EXPECT_EQ(r.text, "41");
    EXPECT_EQ(r.caret, 0u);
    EXPECT_EQ(r.beeps, 0);

    // Pasted text in the middle: separators inserted, caret follows.
    r = NormaliseHexText("41 42abc", 8);
    EXPECT_EQ(r.text, "41 42 AB C");
    EXPECT_EQ(r.caret, 10u);
}
