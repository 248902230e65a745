#include "commands/ClipboardBlock.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(ClipboardBlock, PrivateBlockKeepsZeroBytes) {
    const CByteString bytes = "A\0B"s;
    const CByteString block = EncodeClipboardBlock(bytes);
    EXPECT_EQ(block, "\x03\x00\x00\x00"s + "A\0B"s);
    EXPECT_EQ(DecodeClipboardBlock(block), bytes);
    EXPECT_EQ(DecodeClipboardBlock(EncodeClipboardBlock("")), "");
    EXPECT_EQ(EncodeClipboardBlock(CByteString(0x1234, 'x')).substr(0, 4), "\x34\x12\x00\x00"s);
}

TEST(ClipboardBlock, LengthFieldIsCheckedAgainstTheBlock) {
    // Claims more than it holds: what it holds.
    EXPECT_EQ(DecodeClipboardBlock("\x10\x00\x00\x00"s + "AB"), "AB");
    // A negative or huge length read as signed would have been trouble.
    EXPECT_EQ(DecodeClipboardBlock("\xFF\xFF\xFF\xFF"s + "xyz"), "xyz");
    // Claims less: the rest is not part of the data.
    EXPECT_EQ(DecodeClipboardBlock("\x01\x00\x00\x00"s + "AB"), "A");
    EXPECT_EQ(DecodeClipboardBlock("\x00\x00\x00"s), std::nullopt);
    EXPECT_EQ(DecodeClipboardBlock(""), std::nullopt);
}

TEST(ClipboardBlock, TextStopsAtTheFirstZero) {
    EXPECT_EQ(ClipboardTextPart("A\0B"s), "A");
    EXPECT_EQ(ClipboardTextPart("41 42"), "41 42");
    EXPECT_EQ(ClipboardTextPart("\xE9\xFF"s), "\xE9\xFF"s);
    EXPECT_EQ(ClipboardTextPart("\0"s), "");
}

TEST(ClipboardBlock, CopyLimitAndMessage) {
    EXPECT_TRUE(IsCopyAllowed(20971520));
    EXPECT_FALSE(IsCopyAllowed(20971521));
    EXPECT_EQ(CopyTooLargeMessage(), "Ne peut pas mêtre plus de 20 Mo dans le presse-papiers .");
}

TEST(ClipboardBlock, PasteIsCutAtTheEndOfContent) {
    EXPECT_EQ(PasteCount(5, 10, 7), 3);
    EXPECT_EQ(PasteCount(5, 10, 2), 5);
    EXPECT_EQ(PasteCount(5, 10, 10), 0);
    EXPECT_EQ(PasteCount(5, 10, 12), 0);
    EXPECT_EQ(PasteCount(0, 10, 0), 0);
    EXPECT_EQ(PasteCount(-1, 10, 0), 0);
}
