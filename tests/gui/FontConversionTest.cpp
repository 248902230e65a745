// The stored font description and the QFont the grid draws with.
#include "display/FontConversion.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <cstdint>

TEST(FontConversion, DefaultCourierIsAThirteenPixelMonospaceFont) {
    const QFont font = FontFromLogFont(DefaultDisplayFont());
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << QFontInfo(font).family().toStdString();
    EXPECT_EQ(font.weight(), QFont::Normal);
}

TEST(FontConversion, PositiveHeightsAreCellHeights) {
    LogFont cell = DefaultDisplayFont();
    cell.lfHeight = 20;
    const QFont font = FontFromLogFont(cell);
    EXPECT_NEAR(QFontMetrics(font).height(), 20, 1);
    EXPECT_LT(font.pixelSize(), 20);

    LogFont none = DefaultDisplayFont();
    none.lfHeight = 0;
    EXPECT_EQ(FontFromLogFont(none).pixelSize(), 13);
}

TEST(FontConversion, RoundTripKeepsHeightWeightAndStyle) {
    LogFont font = DefaultDisplayFont();
    font.lfHeight = -17;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    const LogFont back = LogFontFromFont(FontFromLogFont(font));
    EXPECT_EQ(back.lfHeight, -17);
    EXPECT_EQ(back.lfWeight, 700);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfUnderline, 1);
    EXPECT_EQ(back.lfStrikeOut, 0);
    EXPECT_EQ(back.lfFaceName, "Courier");
    EXPECT_EQ(DecodeLogFont(EncodeLogFont(back)), back) << "fits the stored record";
}

TEST(FontConversion, PointSizedFontsAreStoredInPixels) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSize(12);
    EXPECT_EQ(LogFontFromFont(font).lfHeight, -16);
}

TEST(FontConversion, ExtremeHeightsStayUsable) {
    LogFont font = DefaultDisplayFont();
    font.lfHeight = INT32_MIN;
    EXPECT_EQ(FontFromLogFont(font).pixelSize(), 1000);
    font.lfHeight = -1;
    EXPECT_EQ(FontFromLogFont(font).pixelSize(), 1);
}
