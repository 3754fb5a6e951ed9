#include "shell/shortcut_win.h"

#include "base/catalog.h"
#include "core/message_boxes_win.h"
#include "shell/logon_shortcut.h"
#include "shell/shortcut.h"
#include "toolkit/shell_link_win.h"

namespace kembo {

void MakeDesktopShortcut(const ProgramPaths& paths) {
    const auto link = ShortcutPath(GetSpecialFolder(kDesktopDirectoryFolder), paths.programBaseName);
    WinShellLinks links;
    if (link && links.WriteLink(*link, ShellLink{paths.programPath, paths.programFolder, "", ""})) {
        ShowInformationBeep(Text(TextId::ShortcutMade));
    } else {
        ShowError(Text(TextId::ShortcutFailed));
    }
}

bool StartsAtLogonNow(const ProgramPaths& paths) {
    WinShellLinks links;
    return StartsAtLogon(GetSpecialFolder(kStartupFolder), paths, links);
}

void ToggleLogonShortcut(const ProgramPaths& paths) {
    const std::string folder = GetSpecialFolder(kStartupFolder);
    WinShellLinks links;
    switch (ToggleStartAtLogon(folder, paths, links)) {
    case LogonChange::NotWritten:
        ShowError(Text(TextId::LogonShortcutNotWritten, folder));
        break;
    case LogonChange::NotRemoved:
        ShowError(Text(TextId::LogonShortcutNotRemoved, folder));
        break;
    case LogonChange::Added:
    case LogonChange::Removed:
        break;  // the check mark shows it the next time the menu opens
    }
}

}  // namespace kembo
