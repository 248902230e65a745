// The program's registration with the desktop it runs on: freedesktop desktop
// entries on Linux, the shell registry keys on Windows.
#pragma once

#include "app/DesktopRegistration.h"

#include <string>

// `programPath` is the running program's file in the system's own form (native
// separators, the file system's encoding). Returns false after a removal, true
// otherwise; nothing is reported. On Windows "/install" writes only when the
// recorded server path differs, like every start.
bool UpdateProgramRegistration(DesktopRegistrationRequest request, const std::string& programPath);
