// Command identifiers the main frame handles or shows in its menus.
#pragma once

inline constexpr unsigned ID_VIEW_CURSORDATA = 32781;
