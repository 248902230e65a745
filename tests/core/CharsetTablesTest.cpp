#include "display/CharsetTables.h"
#include "display/DisplayCodePage.h"
#include "display/RowFormatter.h"

#include <gtest/gtest.h>

#include <set>

TEST(CharsetTables, KnownEntries) {
    EXPECT_EQ(AsciiToEbcdic[' '], 0x40);
    EXPECT_EQ(AsciiToEbcdic['A'], 0xC1);
    EXPECT_EQ(AsciiToEbcdic['a'], 0x81);
    EXPECT_EQ(AsciiToEbcdic['0'], 0xF0);
    EXPECT_EQ(AsciiToEbcdic['|'], 0x4F);
    EXPECT_EQ(AsciiToEbcdic[0xFF], 0xFF);
    EXPECT_EQ(EbcdicToAscii[0xC1], 'A');
    EXPECT_EQ(EbcdicToAscii[0x40], ' ');
    EXPECT_EQ(EbcdicToAscii[0x4B], '.');
    EXPECT_EQ(EbcdicToAscii[0xE0], '\\');
    EXPECT_EQ(EbcdicToAscii[0x07], 0x7F);
    EXPECT_EQ(EbcdicToAscii[0xF9], '9');
}

TEST(CharsetTables, InverseExceptForTheDocumentedPairs) {
    // ASCII 0x0A and 0xB4 share EBCDIC 0x15; EBCDIC 0x15 and 0x25 share ASCII 0x0A.
    EXPECT_EQ(AsciiToEbcdic[0x0A], 0x15);
    EXPECT_EQ(AsciiToEbcdic[0xB4], 0x15);
    EXPECT_EQ(EbcdicToAscii[0x15], 0x0A);
    EXPECT_EQ(EbcdicToAscii[0x25], 0x0A);
    std::set<int> asciiImage, ebcdicImage;
    for (int i = 0; i < 256; ++i) {
        ebcdicImage.insert(AsciiToEbcdic[i]);
        asciiImage.insert(EbcdicToAscii[i]);
        if (i != 0xB4) {
            EXPECT_EQ(EbcdicToAscii[AsciiToEbcdic[i]], i) << "ASCII " << i;
        }
        if (i != 0x25) {
            EXPECT_EQ(AsciiToEbcdic[EbcdicToAscii[i]], i) << "EBCDIC " << i;
        }
    }
    EXPECT_EQ(ebcdicImage.count(0x25), 0u);
    EXPECT_EQ(asciiImage.count(0xB4), 0u);
    EXPECT_EQ(ebcdicImage.size(), 255u);
    EXPECT_EQ(asciiImage.size(), 255u);
}

TEST(DisplayChar, ControlAndUpperBytes) {
    for (int b = 0; b < 0x20; ++b) {
        EXPECT_EQ(DisplayChar(static_cast<unsigned char>(b), kCharSetAscii, true), '.');
        EXPECT_EQ(DisplayChar(static_cast<unsigned char>(b), kCharSetAscii, false), '.');
    }
    EXPECT_EQ(DisplayChar(0x7E, kCharSetAscii, false), 0x7E);
    EXPECT_EQ(DisplayChar(0x7F, kCharSetAscii, false), '.');
    EXPECT_EQ(DisplayChar(0x7F, kCharSetAscii, true), 0x7F);
    EXPECT_EQ(DisplayChar(0xE9, kCharSetAscii, false), '.');
    EXPECT_EQ(DisplayChar(0xE9, kCharSetAscii, true), 0xE9);
}

TEST(DisplayChar, EbcdicGoesThroughTheTable) {
    EXPECT_EQ(DisplayChar(0xC1, kCharSetEbcdic, false), 'A');
    EXPECT_EQ(DisplayChar(0x40, kCharSetEbcdic, false), ' ');
    EXPECT_EQ(DisplayChar(0x25, kCharSetEbcdic, true), '.');  // becomes 0x0A
    EXPECT_EQ(DisplayChar(0x41, kCharSetEbcdic, false), '.'); // becomes 0xA6
    EXPECT_EQ(DisplayChar(0x41, kCharSetEbcdic, true), 0xA6);
    EXPECT_EQ(DisplayChar(0x07, kCharSetEbcdic, true), 0x7F);
}

TEST(DisplayCodePage, HighControlsAreWindows1252AndRoundTrip) {
    EXPECT_EQ(DisplayCodeToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(DisplayCodeToUnicode(0x9F), u'\u0178');
    EXPECT_EQ(DisplayCodeToUnicode(0xE9), u'\u00E9');
    EXPECT_EQ(DisplayCodeToUnicode('A'), u'A');
    for (int code = 0x20; code < 0x100; ++code)
        EXPECT_EQ(UnicodeToDisplayCode(DisplayCodeToUnicode(static_cast<unsigned char>(code))),
                  code);
    EXPECT_EQ(UnicodeToDisplayCode(U'\u0100'), -1);
    EXPECT_EQ(UnicodeToDisplayCode(U'\U0001F600'), -1);
    EXPECT_EQ(UnicodeToDisplayCode(U'\u0080'), -1); // a C1 control that 1252 redefines
}
