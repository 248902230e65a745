#include "frames/WindowPlacement.h"

#include "MemorySettings.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

WindowPlacement Sample(std::uint32_t show) {
    WindowPlacement p;
    p.flags = 2;
    p.showCmd = show;
    p.minPosition = {-1, -1};
    p.maxPosition = {-8, -8};
    p.normalPosition = {10, 20, 810, 620};
    return p;
}

} // namespace

TEST(WindowPlacement, RecordIsFortyFourLittleEndianBytes) {
    const ByteVector bytes = EncodeWindowPlacement(Sample(kShowMaximized));
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ((ByteVector(bytes.begin(), bytes.begin() + 12)),
              (ByteVector{44, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}));
    EXPECT_EQ((ByteVector(bytes.begin() + 20, bytes.begin() + 24)),
              (ByteVector{0xF8, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ((ByteVector(bytes.begin() + 36, bytes.end())),
              (ByteVector{0x2A, 0x03, 0, 0, 0x6C, 0x02, 0, 0}));
    EXPECT_EQ(DecodeWindowPlacement(bytes), Sample(kShowMaximized));
}

TEST(WindowPlacement, DamagedRecordsAreRejected) {
    ByteVector bytes = EncodeWindowPlacement(Sample(kShowNormal));
    ByteVector shorter(bytes.begin(), bytes.end() - 1);
    ByteVector longer = bytes;
    longer.push_back(0);
    ByteVector badLength = bytes;
    badLength[0] = 40;
    ByteVector inverted = EncodeWindowPlacement(
        WindowPlacement{44, 0, kShowNormal, {}, {}, WindowRect{100, 100, 50, 200}});
    for (const ByteVector& b : {shorter, longer, badLength, inverted, ByteVector{}})
        EXPECT_EQ(DecodeWindowPlacement(b), std::nullopt) << b.size();
}

// Sizes and corners the window code adds up in int must not overflow there:
// no desktop reaches beyond Qt's widget size limit (2^24 - 1).
TEST(WindowPlacement, CoordinatesBeyondAnyDesktopAreRejected) {
    constexpr std::int32_t kMin = INT32_MIN;
    constexpr std::int32_t kMax = INT32_MAX;
    for (const WindowRect& r :
         {WindowRect{kMin, 0, kMax, 600}, WindowRect{0, kMin, 800, kMax},
          WindowRect{kMax, kMax, kMax, kMax}, WindowRect{kMin, kMin, kMin, kMin},
          WindowRect{0, 0, 16777216, 600}}) {
        const ByteVector bytes =
            EncodeWindowPlacement(WindowPlacement{44, 0, kShowNormal, {}, {}, r});
        EXPECT_EQ(DecodeWindowPlacement(bytes), std::nullopt) << r.left << " " << r.right;
    }
    // A large desktop spread over several screens is still fine.
    const WindowRect wide{-16000, -9000, 16000, 9000};
    ASSERT_TRUE(DecodeWindowPlacement(
        EncodeWindowPlacement(WindowPlacement{44, 0, kShowNormal, {}, {}, wide})));
    // A rejected cursor window record gives its default spot.
    EXPECT_EQ(RestoreCursorWindow(EncodeWindowPlacement(WindowPlacement{
                                      44, 0, kShowNormal, {}, {}, {kMax, kMax, kMax, kMax}}),
                                  {0, 0})
                  .topLeft,
              (WindowPoint{200, 100}));
}

TEST(WindowPlacement, MainWindowComesBackNormalOrMaximised) {
    MainWindowRestore r = RestoreMainWindow(std::nullopt);
    EXPECT_FALSE(r.placement);
    EXPECT_EQ(r.showCmd, kShowNormal);

    r = RestoreMainWindow(EncodeWindowPlacement(Sample(kShowMaximized)));
    ASSERT_TRUE(r.placement);
    EXPECT_EQ(r.showCmd, kShowMaximized);
    EXPECT_EQ(r.placement->normalPosition, (WindowRect{10, 20, 810, 620}));

    for (const std::uint32_t show : {kShowMinimized, 6u, 7u, 11u, kShowHide, 99u}) {
        r = RestoreMainWindow(EncodeWindowPlacement(Sample(show)));
        ASSERT_TRUE(r.placement);
        EXPECT_EQ(r.showCmd, kShowNormal) << show;
        EXPECT_EQ(r.placement->showCmd, kShowNormal) << show;
    }

    r = RestoreMainWindow(ByteVector(43, 0));
    EXPECT_FALSE(r.placement);
    EXPECT_EQ(r.showCmd, kShowNormal);
}

TEST(WindowPlacement, CursorWindowKeepsItsCornerAndVisibility) {
    const WindowPoint main{300, 40};
    CursorWindowRestore r = RestoreCursorWindow(std::nullopt, main);
    EXPECT_EQ(r.topLeft, (WindowPoint{500, 140}));
    EXPECT_TRUE(r.visible);
    r = RestoreCursorWindow(ByteVector(12, 0), {INT32_MAX - 5, -3});
    EXPECT_EQ(r.topLeft, (WindowPoint{INT32_MAX, 97}));

    const WindowPlacement hidden = CursorWindowForSave(Sample(kShowNormal), false);
    EXPECT_EQ(hidden.showCmd, kShowHide);
    r = RestoreCursorWindow(EncodeWindowPlacement(hidden), main);
    EXPECT_EQ(r.topLeft, (WindowPoint{10, 20}));
    EXPECT_FALSE(r.visible);

    EXPECT_EQ(CursorWindowForSave(Sample(kShowNormal), true).showCmd, kShowNormal);
    r = RestoreCursorWindow(EncodeWindowPlacement(Sample(kShowNormal)), main);
    EXPECT_TRUE(r.visible);
}

TEST(WindowPlacement, BarsAndSaveOrder) {
    EXPECT_TRUE(RestoreBarVisible(std::nullopt));
    EXPECT_TRUE(RestoreBarVisible(std::string("1")));
    EXPECT_TRUE(RestoreBarVisible(std::string("7")));
    EXPECT_TRUE(RestoreBarVisible(std::string("junk")));
    EXPECT_FALSE(RestoreBarVisible(std::string("0")));

    CMemorySettings store;
    WindowState state;
    state.main = Sample(kShowMaximized);
    state.cursorWindow = Sample(kShowNormal);
    state.cursorWindowVisible = false;
    state.toolBarVisible = false;
    SaveWindowStateTo(store, state);
    EXPECT_EQ(store.m_writeOrder,
              (std::vector<std::string>{"WindowPos", "CursorWindow", "ToolBar", "StatusBar"}));
    EXPECT_EQ(RestoreMainWindow(store.ReadBinary("WindowPos")).showCmd, kShowMaximized);
    EXPECT_FALSE(RestoreCursorWindow(store.ReadBinary("CursorWindow"), {}).visible);
    EXPECT_FALSE(RestoreBarVisible(store.ReadText("ToolBar")));
    EXPECT_TRUE(RestoreBarVisible(store.ReadText("StatusBar")));
}
