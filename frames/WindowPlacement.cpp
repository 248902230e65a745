#include "frames/WindowPlacement.h"

namespace {

void PutUint32(ByteVector& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t GetUint32(const ByteVector& in, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | in[at + static_cast<std::size_t>(i)];
    return u;
}

std::int32_t GetInt32(const ByteVector& in, std::size_t at) {
    return static_cast<std::int32_t>(GetUint32(in, at));
}

// Saturating, so a corner far out on a huge desktop cannot overflow.
std::int32_t Shifted(std::int32_t value, std::int32_t by) {
    const std::int64_t sum = std::int64_t{value} + by;
    return sum > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(sum);
}

} // namespace

ByteVector EncodeWindowPlacement(const WindowPlacement& p) {
    ByteVector out;
    out.reserve(kWindowPlacementSize);
    PutUint32(out, static_cast<std::uint32_t>(kWindowPlacementSize));
    PutUint32(out, p.flags);
    PutUint32(out, p.showCmd);
    for (std::int32_t v :
         {p.minPosition.x, p.minPosition.y, p.maxPosition.x, p.maxPosition.y, p.normalPosition.left,
          p.normalPosition.top, p.normalPosition.right, p.normalPosition.bottom})
        PutUint32(out, static_cast<std::uint32_t>(v));
    return out;
}

std::optional<WindowPlacement> DecodeWindowPlacement(const ByteVector& bytes) {
    if (bytes.size() != kWindowPlacementSize || GetUint32(bytes, 0) != kWindowPlacementSize)
        return std::nullopt;
    WindowPlacement p;
    p.flags = GetUint32(bytes, 4);
    p.showCmd = GetUint32(bytes, 8);
    p.minPosition = {GetInt32(bytes, 12), GetInt32(bytes, 16)};
    p.maxPosition = {GetInt32(bytes, 20), GetInt32(bytes, 24)};
    p.normalPosition = {GetInt32(bytes, 28), GetInt32(bytes, 32), GetInt32(bytes, 36),
                        GetInt32(bytes, 40)};
    if (p.normalPosition.right < p.normalPosition.left ||
        p.normalPosition.bottom < p.normalPosition.top)
        return std::nullopt;
    // No desktop reaches beyond the widget size limit; such values are damage,
    // and sizes or corners made from them would overflow int.
    for (const std::int32_t v : {p.normalPosition.left, p.normalPosition.top,
                                 p.normalPosition.right, p.normalPosition.bottom})
        if (v < -kMaxWindowCoordinate || v > kMaxWindowCoordinate)
            return std::nullopt;
    return p;
}

MainWindowRestore RestoreMainWindow(const std::optional<ByteVector>& stored) {
    MainWindowRestore restore;
    if (stored)
        restore.placement = DecodeWindowPlacement(*stored);
    if (!restore.placement)
        return restore;
    // Minimised (2 and its variants) comes back normal; so does hidden (0) or any
    // unknown command, which would otherwise leave the program without a window.
    std::uint32_t& show = restore.placement->showCmd;
    if (show != kShowMaximized)
        show = kShowNormal;
    restore.showCmd = show;
    return restore;
}

CursorWindowRestore RestoreCursorWindow(const std::optional<ByteVector>& stored,
                                        WindowPoint mainTopLeft) {
    const std::optional<WindowPlacement> placement =
        stored ? DecodeWindowPlacement(*stored) : std::nullopt;
    CursorWindowRestore restore;
    if (placement) {
        restore.topLeft = {placement->normalPosition.left, placement->normalPosition.top};
        restore.visible = placement->showCmd != kShowHide;
    } else {
        restore.topLeft = {Shifted(mainTopLeft.x, 200), Shifted(mainTopLeft.y, 100)};
        restore.visible = true;
    }
    return restore;
}

WindowPlacement CursorWindowForSave(WindowPlacement placement, bool visible) {
    if (!visible)
        placement.showCmd = kShowHide;
    return placement;
}

bool RestoreBarVisible(const std::optional<std::string>& stored) {
    if (!stored)
        return true;
    return ParseSettingInt(*stored).value_or(1) != 0;
}

void SaveWindowStateTo(ISettingsSection& section, const WindowState& state) {
    section.WriteBinary("WindowPos", EncodeWindowPlacement(state.main));
    section.WriteBinary("CursorWindow", EncodeWindowPlacement(CursorWindowForSave(
                                            state.cursorWindow, state.cursorWindowVisible)));
    section.WriteInt("ToolBar", state.toolBarVisible ? 1 : 0);
    section.WriteInt("StatusBar", state.statusBarVisible ? 1 : 0);
}
