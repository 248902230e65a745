// Command identifiers the document handles.
#pragma once

inline constexpr unsigned ID_FILE_EDITASTEXT = 32779;
inline constexpr unsigned ID_FILE_RELOAD = 32799;
