// The slideshow's order rules: no sorting, unshowable files dropped for good, missing files
// keep their place, and the mode switching itself off.
#include <gtest/gtest.h>

#include <set>

#include "base/catalog.h"
#include "base/errors.h"
#include "fake_file_system.h"
#include "window/slideshow.h"

namespace kembo {
namespace {

using test::FakeFileSystem;

class SlideShowTest : public ::testing::Test {
protected:
    SlideShowTest() {
        settings_.flag_SlideShow = true;
        settings_.SlideShowDir = "C:\\pics";
    }
    // Composes by the rules of the window: broken files are emptied, missing ones left alone.
    std::string Next() {
        return show_.Advance(settings_, [&](std::string& name) {
            composed_.push_back(name);
            if (broken_.count(name)) name.clear();
        });
    }
    Settings settings_;
    FakeFileSystem files_;
    SlideShow show_;
    std::set<std::string> broken_;
    std::vector<std::string> composed_;
};

TEST_F(SlideShowTest, BrokenFileIsDroppedTheFirstTimeAndTheNextShownInTheSameTick) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) files_.AddFile("C:\\pics\\", name);
    broken_ = {"C:\\pics\\b.bmp"};
    ASSERT_TRUE(show_.Reload(settings_, files_));
    show_.Restart();
    std::vector<std::string> shown;
    for (int i = 0; i < 4; ++i) shown.push_back(Next());
    EXPECT_EQ(shown, (std::vector<std::string>{"C:\\pics\\a.bmp", "C:\\pics\\c.bmp", "C:\\pics\\a.bmp", "C:\\pics\\c.bmp"}));
    EXPECT_EQ(show_.List().size(), 2u);
    EXPECT_EQ(std::count(composed_.begin(), composed_.end(), "C:\\pics\\b.bmp"), 1);
}

TEST_F(SlideShowTest, ListedOrderIsKeptUnsorted) {
    for (const char* name : {"z.bmp", "a.bmp", "m.bmp"}) files_.AddFile("C:\\pics\\", name);
    ASSERT_TRUE(show_.Reload(settings_, files_));
    show_.Restart();
    EXPECT_EQ(Next(), "C:\\pics\\z.bmp");
    EXPECT_EQ(Next(), "C:\\pics\\a.bmp");
    EXPECT_EQ(Next(), "C:\\pics\\m.bmp");
    EXPECT_EQ(Next(), "C:\\pics\\z.bmp");
}

TEST_F(SlideShowTest, NothingShowableSwitchesTheModeOffWithTheError) {
    for (const char* name : {"a.txt", "b.txt"}) files_.AddFile("C:\\pics\\", name);
    broken_ = {"C:\\pics\\a.txt", "C:\\pics\\b.txt"};
    ASSERT_TRUE(show_.Reload(settings_, files_));
    show_.Restart();
    try {
        Next();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), Text(TextId::NothingShowableInFolder));
    }
    EXPECT_FALSE(settings_.flag_SlideShow);
    EXPECT_TRUE(show_.List().empty());
    EXPECT_EQ(composed_.size(), 2u);  // every entry tried once, in one call
}

TEST_F(SlideShowTest, EmptyOrMissingFolderSwitchesTheModeOffAtReload) {
    files_.folders["C:\\pics\\"].push_back({"sub", true});
    EXPECT_FALSE(show_.Reload(settings_, files_));
    EXPECT_FALSE(settings_.flag_SlideShow);
    settings_.flag_SlideShow = true;
    settings_.SlideShowDir = "C:\\missing";
    EXPECT_FALSE(show_.Reload(settings_, files_));
    // Out of slideshow mode nothing is listed.
    settings_.SlideShowDir = "C:\\pics";
    EXPECT_TRUE(show_.Reload(settings_, files_));
    EXPECT_TRUE(files_.listed.size() == 2u);
}

TEST_F(SlideShowTest, MissingFileKeepsItsPlace) {
    for (const char* name : {"a.bmp", "gone.bmp"}) files_.AddFile("C:\\pics\\", name);
    ASSERT_TRUE(show_.Reload(settings_, files_));
    show_.Restart();
    // A vanished file is not emptied by the composer: it stays in the list and is "shown".
    EXPECT_EQ(Next(), "C:\\pics\\a.bmp");
    EXPECT_EQ(Next(), "C:\\pics\\gone.bmp");
    EXPECT_EQ(show_.List().size(), 2u);
}

TEST(SlideShowIntervalTest, SecondsToMillisecondsWithoutOverflow) {
    EXPECT_EQ(SlideShow::IntervalMs(30), 30000u);
    EXPECT_EQ(SlideShow::IntervalMs(1), 1000u);
    EXPECT_EQ(SlideShow::IntervalMs(0), 0u);
    EXPECT_EQ(SlideShow::IntervalMs(-5), 0u);
    EXPECT_EQ(SlideShow::IntervalMs(2147483647), 0x7FFFFFFFu);
}

}  // namespace
}  // namespace kembo
