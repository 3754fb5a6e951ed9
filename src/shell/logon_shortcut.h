#pragma once
// Starting at logon: a link to the program in the user's Startup folder, named as the desktop
// shortcut is. Nothing else (no Run key) is used, so removing the link undoes it all.
#include <string>

#include "core/program_paths.h"
#include "shell/shell_link.h"

namespace kembo {

inline constexpr int kStartupFolder = 0x0007;  // CSIDL_STARTUP
// Any parameter keeps the title splash away; this one says why the program started.
inline constexpr const char* kLogonParameter = "/logon";

// The link that starts this program: in its own folder, with the parameter and its own icon.
ShellLink LogonLink(const ProgramPaths& paths);

// Whether the Startup folder holds the program's link and it points at this program (a link
// left by a moved program folder does not count).
bool StartsAtLogon(const std::string& startupFolder, const ProgramPaths& paths, ShellLinkPort& links);

enum class LogonChange { Added, Removed, NotWritten, NotRemoved };

// Removes the link when it starts this program, otherwise writes it (over a stale one). On
// failure the folder stays as it was.
LogonChange ToggleStartAtLogon(const std::string& startupFolder, const ProgramPaths& paths, ShellLinkPort& links);

}  // namespace kembo
