// The program unpacked from the release zip (the folder in KEMBO_DIST, set by check_release)
// starts in a folder of its own, shows its window and closes cleanly, saving its settings.
#include <gtest/gtest.h>

#include "harness.h"

namespace kembo::e2e {
namespace {

TEST(Release, UnpackedProgramStartsAndClosesCleanly) {
    KemboRun run;
    EXPECT_FALSE(testing::FileExists(run.IniPath())) << "the release ships no settings";
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_TRUE(window) << "no window came";
    EXPECT_EQ(run.Close(), 0);
    EXPECT_NE(run.IniValue("option", "val_titlewait"), "<missing>");
}

}  // namespace
}  // namespace kembo::e2e
