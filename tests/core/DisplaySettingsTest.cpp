#include "display/DisplaySettings.h"

#include "MemorySettings.h"

#include <gtest/gtest.h>

TEST(DisplaySettings, EmptyProfileGivesTheDefaults) {
    CMemorySettings store;
    DisplaySettings s;
    LoadDisplaySettingsFrom(store, s);
    EXPECT_EQ(s.font.lfFaceName, "Courier");
    EXPECT_EQ(s.font.lfHeight, -13);
    EXPECT_EQ(s.font.lfWeight, 0);
    EXPECT_EQ(s.hexAddress, 1);
    EXPECT_EQ(s.upperChars, 0);
    EXPECT_EQ(s.fixedColumns, 0);
    EXPECT_EQ(s.printMargins, (PrintMargins{1000, 1000, 1000, 1000}));
    EXPECT_EQ(s.openTextMode, 2);
}

TEST(DisplaySettings, LogFontLayoutIsTheSixtyByteRecord) {
    LogFont f;
    f.lfHeight = -16;
    f.lfWidth = 7;
    f.lfEscapement = 900;
    f.lfOrientation = -2;
    f.lfWeight = 700;
    f.lfItalic = 1;
    f.lfUnderline = 2;
    f.lfStrikeOut = 3;
    f.lfCharSet = 4;
    f.lfOutPrecision = 5;
    f.lfClipPrecision = 6;
    f.lfQuality = 7;
    f.lfPitchAndFamily = 0x31;
    f.lfFaceName = "DejaVu Sans Mono";
    const ByteVector bytes = EncodeLogFont(f);
    ASSERT_EQ(bytes.size(), 60u);
    EXPECT_EQ((ByteVector(bytes.begin(), bytes.begin() + 8)),
              (ByteVector{0xF0, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x00, 0x00}));
    EXPECT_EQ(bytes[16], 0xBC); // 700
    EXPECT_EQ(bytes[17], 0x02);
    EXPECT_EQ((ByteVector(bytes.begin() + 20, bytes.begin() + 28)),
              (ByteVector{1, 2, 3, 4, 5, 6, 7, 0x31}));
    EXPECT_EQ(bytes[28], 'D');
    EXPECT_EQ(bytes[28 + 16], 0);
    EXPECT_EQ(DecodeLogFont(bytes), f);

    const ByteVector courier = EncodeLogFont(DefaultDisplayFont());
    EXPECT_EQ((ByteVector(courier.begin(), courier.begin() + 4)),
              (ByteVector{0xF3, 0xFF, 0xFF, 0xFF}));
}

TEST(DisplaySettings, FaceNamesAreCutSafely) {
    // No terminator in the stored 32 bytes: 31 are kept.
    ByteVector bytes = EncodeLogFont(DefaultDisplayFont());
    std::fill(bytes.begin() + 28, bytes.end(), 'A');
    EXPECT_EQ(DecodeLogFont(bytes)->lfFaceName, std::string(31, 'A'));

    // Too long to store: cut to 31 bytes, never inside a character.
    LogFont f = DefaultDisplayFont();
    f.lfFaceName = std::string(30, 'x') + "é"; // 32 bytes
    const ByteVector stored = EncodeLogFont(f);
    EXPECT_EQ(stored[59], 0);
    EXPECT_EQ(DecodeLogFont(stored)->lfFaceName, std::string(30, 'x'));
}

TEST(DisplaySettings, WrongSizesTypesAndDamageAreIgnored) {
    LogFont big = DefaultDisplayFont();
    big.lfFaceName = "Mono";
    ByteVector good = EncodeLogFont(big);
    for (const size_t size : {0u, 59u, 61u}) {
        CMemorySettings store;
        ByteVector bytes = good;
        bytes.resize(size);
        store.m_values["Font"] = bytes;
        store.m_values["Print Margins"] = ByteVector(size == 0 ? 15 : 17, 0);
        DisplaySettings s;
        LoadDisplaySettingsFrom(store, s);
        EXPECT_EQ(s.font, DefaultDisplayFont()) << size;
        EXPECT_EQ(s.printMargins, PrintMargins{});
    }

    CMemorySettings store;
    store.m_values["Font"] = std::string(60, 'x'); // text, not binary
    store.m_values["Hex Address"] = std::string("abc");
    store.m_values["Upper Characters"] = ByteVector{1};
    store.m_values["Fixed Columns"] = std::string("99999999999");
    store.m_values["OpenTextMode"] = std::string("1x");
    DisplaySettings s;
    LoadDisplaySettingsFrom(store, s);
    EXPECT_EQ(s, DisplaySettings());

    LogFont huge = DefaultDisplayFont();
    huge.lfHeight = INT32_MIN;
    store.m_values["Font"] = EncodeLogFont(huge);
    LoadDisplaySettingsFrom(store, s);
    EXPECT_EQ(s.font, DefaultDisplayFont());
}

TEST(DisplaySettings, SaveWritesAllSixInOrderAndLoadsBack) {
    DisplaySettings s;
    s.font.lfFaceName = "Mono";
    s.font.lfHeight = -20;
    s.hexAddress = 0;
    s.upperChars = 1;
    s.fixedColumns = 16;
    s.printMargins = {500, 750, -1, 2000};
    s.openTextMode = 0;
    CMemorySettings store;
    SaveDisplaySettingsTo(store, s);
    EXPECT_EQ(store.m_writeOrder,
              (std::vector<std::string>{"Font", "Hex Address", "Upper Characters", "Fixed Columns",
                                        "Print Margins", "OpenTextMode"}));
    EXPECT_EQ(std::get<ByteVector>(store.m_values["Font"]).size(), 60u);
    EXPECT_EQ(std::get<ByteVector>(store.m_values["Print Margins"]).size(), 16u);

    DisplaySettings loaded;
    LoadDisplaySettingsFrom(store, loaded);
    EXPECT_EQ(loaded, s);
}

TEST(SettingsSection, IntegersAreParsedStrictly) {
    EXPECT_EQ(ParseSettingInt("0"), 0);
    EXPECT_EQ(ParseSettingInt(" -13 "), -13);
    EXPECT_EQ(ParseSettingInt("+7"), 7);
    EXPECT_EQ(ParseSettingInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseSettingInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseSettingInt("true"), 1);
    EXPECT_EQ(ParseSettingInt("false"), 0);
    for (const char* bad : {"", " ", "-", "2147483648", "-2147483649", "1.5", "0x10", "1 2"})
        EXPECT_EQ(ParseSettingInt(bad), std::nullopt) << bad;
}
