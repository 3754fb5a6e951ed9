#pragma once
// Where the desktop shortcut to the program goes.
#include <optional>
#include <string>

namespace kembo {

inline constexpr int kDesktopDirectoryFolder = 0x0010;  // CSIDL_DESKTOPDIRECTORY

// The desktop folder, a separator and the program's base name with ".lnk"; none without a
// desktop folder.
std::optional<std::string> ShortcutPath(const std::string& desktopFolder, const std::string& programBaseName);

}  // namespace kembo
