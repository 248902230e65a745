// The check behind the context-menu handler's registration on Windows.
#pragma once

#ifdef _WIN32

#include <string>

// True when `path` is a regular file (no folder, link or device) whose owner
// is the user running us, the Administrators group, the system account or the
// installer service: a file anyone else could have put there is never handed
// to Explorer, which would load it into every process showing a context menu.
bool ServerFileTrusted(const std::string& path);

#endif // _WIN32
