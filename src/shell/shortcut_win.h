#pragma once
// The shortcuts to the program: on the desktop, and in the Startup folder to start at logon.
#include "core/program_paths.h"

namespace kembo {

// The command: a link named after the program on the user's desktop, the outcome in a box.
void MakeDesktopShortcut(const ProgramPaths& paths);

// Whether the program starts at logon now (its check item's mark).
bool StartsAtLogonNow(const ProgramPaths& paths);
// The command: the logon link written or removed; only a failure says something.
void ToggleLogonShortcut(const ProgramPaths& paths);

}  // namespace kembo
