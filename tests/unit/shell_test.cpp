// The drop target's effect rule, where the desktop shortcut goes, and the logon link's rule.
#include <gtest/gtest.h>

#include <map>

#include "core/program_paths.h"
#include "shell/drop_effect.h"
#include "shell/logon_shortcut.h"
#include "shell/shortcut.h"

namespace kembo {
namespace {

TEST(DropEffect, ControlCopiesControlShiftLinksAnythingElseMoves) {
    constexpr uint32_t kLeftButton = 0x1, kAlt = 0x20;
    EXPECT_EQ(DropEffectFor(0), kDropEffectMove);
    EXPECT_EQ(DropEffectFor(kLeftButton), kDropEffectMove);
    EXPECT_EQ(DropEffectFor(kKeyShift | kLeftButton), kDropEffectMove);
    EXPECT_EQ(DropEffectFor(kKeyControl | kLeftButton), kDropEffectCopy);
    EXPECT_EQ(DropEffectFor(kKeyControl | kKeyShift), kDropEffectLink);
    EXPECT_EQ(DropEffectFor(kKeyControl | kKeyShift | kAlt | kLeftButton), kDropEffectLink);
}

TEST(Shortcut, NamedAfterTheProgramOnTheDesktop) {
    EXPECT_EQ(ShortcutPath("C:\\Users\\me\\Desktop", "KEMBO"), "C:\\Users\\me\\Desktop\\KEMBO.lnk");
    EXPECT_EQ(ShortcutPath("D:\\", "KEMBO"), "D:\\KEMBO.lnk");
    EXPECT_EQ(ShortcutPath("", "KEMBO"), std::nullopt);
}

// Link files in memory; a read-only folder refuses to write or delete.
class FakeShellLinks : public ShellLinkPort {
public:
    std::map<std::string, ShellLink> files;
    bool readOnly = false;

    std::optional<std::string> LinkTarget(const std::string& path) override {
        const auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional(it->second.target);
    }
    bool WriteLink(const std::string& path, const ShellLink& link) override {
        if (readOnly) return false;
        files[path] = link;
        return true;
    }
    bool RemoveLink(const std::string& path) override {
        if (readOnly) return !files.count(path);
        files.erase(path);
        return true;
    }
};

TEST(LogonShortcut, WrittenReplacedOrRemovedAndAReadOnlyFolderKeepsWhatItHolds) {
    const ProgramPaths paths = DeriveProgramPaths("C:\\Users\\ユーザー\\KEMBO\\KEMBO.EXE");
    const std::string startup = "C:\\Users\\ユーザー\\Startup";
    const std::string link = startup + "\\KEMBO.lnk";
    const ShellLink ours{paths.programPath, "C:\\Users\\ユーザー\\KEMBO\\", "/logon", paths.programPath};
    const ShellLink stale{"D:\\Old\\KEMBO.EXE", "D:\\Old\\"};
    const ShellLink oursOtherCase{"c:\\users\\ユーザー\\kembo\\kembo.exe", "", "/logon", ""};
    const struct {
        const char* name;
        std::optional<ShellLink> before;
        bool readOnly;
        bool startsBefore;
        LogonChange change;
        std::optional<ShellLink> after;
    } cases[] = {
        {"nothing there", std::nullopt, false, false, LogonChange::Added, ours},
        {"a moved program's link is replaced", stale, false, false, LogonChange::Added, ours},
        {"our link, whatever the case of its path", oursOtherCase, false, true, LogonChange::Removed, std::nullopt},
        {"read-only, nothing there", std::nullopt, true, false, LogonChange::NotWritten, std::nullopt},
        {"read-only, a stale link", stale, true, false, LogonChange::NotWritten, stale},
        {"read-only, our link", ours, true, true, LogonChange::NotRemoved, ours},
    };
    EXPECT_EQ(LogonLink(paths), ours);
    for (const auto& c : cases) {
        FakeShellLinks links;
        if (c.before) links.files[link] = *c.before;
        links.readOnly = c.readOnly;
        EXPECT_EQ(StartsAtLogon(startup, paths, links), c.startsBefore) << c.name;
        EXPECT_EQ(ToggleStartAtLogon(startup, paths, links), c.change) << c.name;
        const auto it = links.files.find(link);
        EXPECT_EQ(it == links.files.end() ? std::nullopt : std::optional(it->second), c.after) << c.name;
        EXPECT_LE(links.files.size(), 1u) << c.name;  // nothing else touched
        EXPECT_EQ(StartsAtLogon(startup, paths, links), c.after == ours) << c.name;
    }
    // Without a Startup folder there is nowhere to write.
    FakeShellLinks links;
    EXPECT_FALSE(StartsAtLogon("", paths, links));
    EXPECT_EQ(ToggleStartAtLogon("", paths, links), LogonChange::NotWritten);
    EXPECT_TRUE(links.files.empty());
}

}  // namespace
}  // namespace kembo
