// The drop target's effect rule and where the desktop shortcut goes.
#include <gtest/gtest.h>

#include "shell/drop_effect.h"
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

}  // namespace
}  // namespace kembo
