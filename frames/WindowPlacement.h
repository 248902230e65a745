// The main frame's and the cursor data window's stored placement: the 44-byte
// WINDOWPLACEMENT record ("WindowPos", "CursorWindow"), the bar visibility
// values, and what a start makes of them.
#pragma once

#include "display/SettingsSection.h"

#include <cstddef>
#include <cstdint>
#include <optional>

inline constexpr std::size_t kWindowPlacementSize = 44;

// Show commands as the record stores them.
inline constexpr std::uint32_t kShowHide = 0;
inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMinimized = 2;
inline constexpr std::uint32_t kShowMaximized = 3;

struct WindowPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const WindowPoint&) const = default;
};

struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const WindowRect&) const = default;
};

struct WindowPlacement {
    std::uint32_t length = kWindowPlacementSize;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = kShowNormal;
    WindowPoint minPosition;
    WindowPoint maxPosition;
    WindowRect normalPosition;
    bool operator==(const WindowPlacement&) const = default;
};

// Qt's largest widget size; stored coordinates beyond it are damage.
inline constexpr std::int32_t kMaxWindowCoordinate = 16777215;

ByteVector EncodeWindowPlacement(const WindowPlacement& placement);
// nullopt unless 44 bytes whose length field says 44 and whose normal
// rectangle is not inverted and lies within +/-kMaxWindowCoordinate.
std::optional<WindowPlacement> DecodeWindowPlacement(const ByteVector& bytes);

struct MainWindowRestore {
    std::optional<WindowPlacement> placement; // none: the system's default place
    std::uint32_t showCmd = kShowNormal;      // kShowNormal or kShowMaximized
};

// A window closed minimised comes back normal; one stored hidden, or with a
// show command we do not know, is shown normally rather than lost.
MainWindowRestore RestoreMainWindow(const std::optional<ByteVector>& stored);

struct CursorWindowRestore {
    WindowPoint topLeft; // size is the window's own
    bool visible = true;
};

// The stored normal rectangle's corner and visibility; without a usable record,
// 200 pixels right of and 100 below the main window's corner, shown.
CursorWindowRestore RestoreCursorWindow(const std::optional<ByteVector>& stored,
                                        WindowPoint mainTopLeft);

// The record stored for the cursor window: show command 0 while it is hidden.
WindowPlacement CursorWindowForSave(WindowPlacement placement, bool visible);

// "ToolBar" / "StatusBar": shown unless stored as 0.
bool RestoreBarVisible(const std::optional<std::string>& stored);

struct WindowState {
    WindowPlacement main;
    WindowPlacement cursorWindow;
    bool cursorWindowVisible = true;
    bool toolBarVisible = true;
    bool statusBarVisible = true;
};

// "WindowPos", "CursorWindow", "ToolBar", "StatusBar", in that order.
void SaveWindowStateTo(ISettingsSection& section, const WindowState& state);
