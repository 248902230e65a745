#include "resources/StringTable.h"

#include <gtest/gtest.h>

TEST(StringTable, EveryIdIsDefinedOnce) {
    EXPECT_EQ(res::DuplicateIds(), std::vector<unsigned>());
}

TEST(StringTable, FormatsStoredTextsAndSplitsPrompts) {
    EXPECT_EQ(res::FormatPrintf("Ofs %I64u  0x%I64X", 255ULL, 255ULL), "Ofs 255  0xFF");
    EXPECT_EQ(res::FormatArgs("%1 n'est pas trouvé.", {"/tmp/x"}), "/tmp/x n'est pas trouvé.");
    EXPECT_EQ(res::FormatArgs("%2 et %1 %3", {"a", "b"}), "b et a %3");
    EXPECT_EQ(res::PromptPart(32776), "Aller à");
    EXPECT_EQ(res::TooltipPart(32776), "Aller à (Ctrl+G)");
    EXPECT_STREQ(res::LoadString(1), "");
}
