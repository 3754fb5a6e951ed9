#include "shell/logon_shortcut.h"

#include "base/text.h"
#include "shell/shortcut.h"

namespace kembo {

ShellLink LogonLink(const ProgramPaths& paths) {
    return ShellLink{paths.programPath, paths.programFolder, kLogonParameter, paths.programPath};
}

bool StartsAtLogon(const std::string& startupFolder, const ProgramPaths& paths, ShellLinkPort& links) {
    const auto link = ShortcutPath(startupFolder, paths.programBaseName);
    if (!link) return false;
    const auto target = links.LinkTarget(*link);
    // Windows file names ignore case.
    return target && SameTextAscii(*target, paths.programPath);
}

LogonChange ToggleStartAtLogon(const std::string& startupFolder, const ProgramPaths& paths, ShellLinkPort& links) {
    const auto link = ShortcutPath(startupFolder, paths.programBaseName);
    if (!link) return LogonChange::NotWritten;
    if (StartsAtLogon(startupFolder, paths, links)) {
        return links.RemoveLink(*link) ? LogonChange::Removed : LogonChange::NotRemoved;
    }
    return links.WriteLink(*link, LogonLink(paths)) ? LogonChange::Added : LogonChange::NotWritten;
}

}  // namespace kembo
