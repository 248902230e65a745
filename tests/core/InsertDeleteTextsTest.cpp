#include "commands/InsertDeleteTexts.h"

#include <gtest/gtest.h>

TEST(InsertDeleteTexts, DeleteQuestionPrintsSixtyFourBitValuesInFull) {
    EXPECT_EQ(FormatDeleteQuestion(1, 2), "Supprimer 2 octet à 0x1 - 1 ?");
    EXPECT_EQ(FormatDeleteQuestion(0x100000000LL, 5),
              "Supprimer 5 octet à 0x100000000 - 4294967296 ?");
    EXPECT_EQ(FormatDeleteQuestion(0xABCDEF012LL, 0x100000001LL),
              "Supprimer 4294967297 octet à 0xABCDEF012 - 46118400018 ?");
}

TEST(InsertDeleteTexts, UnsignedDecimalAllowsOnlyBlanksAroundDigits) {
    EXPECT_EQ(ParseUnsignedDecimal("1"), 1u);
    EXPECT_EQ(ParseUnsignedDecimal(" \t42\t "), 42u);
    EXPECT_EQ(ParseUnsignedDecimal("4294967295"), 4294967295u);
    for (const char* bad : {"", "  ", "-1", "+1", "1 2", "12a", "0x10", "4294967296", "1.0"})
        EXPECT_EQ(ParseUnsignedDecimal(bad), std::nullopt) << bad;
}

TEST(InsertDeleteTexts, InsertDialogChecksCountThenValue) {
    InsertDialogInput in = ValidateInsertDialog("3", "255");
    EXPECT_TRUE(in.ok);
    EXPECT_EQ(in.count, 3u);
    EXPECT_EQ(in.value, 255);

    in = ValidateInsertDialog("-1", "256");
    EXPECT_FALSE(in.ok);
    EXPECT_EQ(in.faultyField, kInsertCountField);
    EXPECT_EQ(in.message, "SVP entrer un nombre entier positif.");

    in = ValidateInsertDialog("1", "abc");
    EXPECT_EQ(in.faultyField, kInsertValueField);
    EXPECT_EQ(in.message, "SVP entrer un nombre entier positif.");

    in = ValidateInsertDialog("1", "256");
    EXPECT_FALSE(in.ok);
    EXPECT_EQ(in.faultyField, kInsertValueField);
    EXPECT_EQ(in.message, "SVP entrer un nombre entier entre 0 et 255.");

    EXPECT_TRUE(ValidateInsertDialog("0", "0").ok);
}
