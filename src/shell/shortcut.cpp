#include "shell/shortcut.h"

#include "base/name_rules.h"

namespace kembo {

std::optional<std::string> ShortcutPath(const std::string& desktopFolder, const std::string& programBaseName) {
    if (desktopFolder.empty()) return std::nullopt;
    return AddTrailingSeparator(desktopFolder) + programBaseName + ".lnk";
}

}  // namespace kembo
