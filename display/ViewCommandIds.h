// Command and status-pane identifiers the hex view handles.
#pragma once

inline constexpr unsigned ID_VIEW_OPTIONS = 32772;
inline constexpr unsigned ID_VIEW_FONT = 32773;
inline constexpr unsigned ID_EDIT_INSERT = 32774;
inline constexpr unsigned ID_EDIT_DELETE = 32775;
inline constexpr unsigned ID_EDIT_GOTO = 32776;
inline constexpr unsigned ID_EDIT_FINDNEXT = 32777;
// Ours: checksums of the selection or the whole file.
inline constexpr unsigned ID_EDIT_CHECKSUMS = 32790;
// Ours: every occurrence listed in a panel under the view.
inline constexpr unsigned ID_EDIT_FINDALL = 32791;

inline constexpr unsigned ID_INDICATOR_OFFSET = 131;
inline constexpr unsigned ID_INDICATOR_SELECTION = 132;

// The five value fields of the cursor data window (byte, 16-bit, 32-bit,
// float, double); their update requests reach the active view.
inline constexpr unsigned IDC_CURSOR_BYTE = 1045;
inline constexpr unsigned IDC_CURSOR_DOUBLE = 1049;
