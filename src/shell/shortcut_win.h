#pragma once
// The desktop shortcut to the program.
#include <string>

#include "core/program_paths.h"

namespace kembo {

// Writes a shell link at linkPath to target, starting in workingFolder; an existing link is
// overwritten. False when the link cannot be saved; raises Error when the system has no shell
// link object.
bool CreateShellLink(const std::string& linkPath, const std::string& target, const std::string& workingFolder);

// The command: a link named after the program on the user's desktop, the outcome in a box.
void MakeDesktopShortcut(const ProgramPaths& paths);

}  // namespace kembo
