// The slideshow's order rules: no sorting, unshowable files dropped for good, missing files
// keep their place, and the mode switching itself off.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/catalog.h"
#include "base/errors.h"
#include "fake_file_system.h"
#include "window/slideshow.h"
#include "window/transition.h"

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

TEST_F(SlideShowTest, ShuffledRoundsShowEveryFileOnceAndNeverRepeatAcrossTheSeam) {
    settings_.flag_SSRandom = true;
    for (const char* name : {"a.bmp", "b.bmp", "bad.bmp", "c.bmp", "d.bmp"}) files_.AddFile("C:\\pics\\", name);
    broken_ = {"C:\\pics\\bad.bmp"};
    ASSERT_TRUE(show_.Reload(settings_, files_));
    show_.Restart();
    std::set<std::vector<std::string>> orders;
    std::string previous;
    for (int round = 0; round < 60; ++round) {
        std::vector<std::string> shown;
        for (int i = 0; i < 4; ++i) shown.push_back(Next());
        EXPECT_NE(shown.front(), previous) << round;
        previous = shown.back();
        std::vector<std::string> sorted = shown;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<std::string>{"C:\\pics\\a.bmp", "C:\\pics\\b.bmp", "C:\\pics\\c.bmp",
                                                    "C:\\pics\\d.bmp"}))
            << round;
        orders.insert(shown);
    }
    // The broken file was tried once and stays dropped; the rounds differ.
    EXPECT_EQ(std::count(composed_.begin(), composed_.end(), "C:\\pics\\bad.bmp"), 1);
    EXPECT_GT(orders.size(), 10u);
}

TEST_F(SlideShowTest, SubfoldersTakePartInTreeOrderWithoutLinksOrLoops) {
    settings_.flag_SSSubDir = true;
    files_.AddFile("C:\\pics\\", "a.bmp");
    files_.folders["C:\\pics\\"].push_back({"x", true});
    files_.folders["C:\\pics\\"].push_back({"junction", true, false, true});
    files_.folders["C:\\pics\\"].push_back({"y", true});
    files_.AddFile("C:\\pics\\", "b.bmp");
    files_.AddFile("C:\\pics\\x\\", "c.bmp");
    files_.folders["C:\\pics\\x\\"].push_back({"back", true});  // a loop back to the top
    files_.identities["C:\\pics\\"] = "top";
    files_.identities["C:\\pics\\x\\back\\"] = "top";
    files_.AddFile("C:\\pics\\junction\\", "never.bmp");
    files_.AddFile("C:\\pics\\y\\", "d.bmp");
    // Deep enough that recursion would show.
    std::string deep = "C:\\pics\\y\\";
    for (int i = 0; i < 2000; ++i) {
        files_.folders[deep].push_back({"z", true});
        deep += "z\\";
    }
    files_.AddFile(deep, "e.bmp");
    ASSERT_TRUE(show_.Reload(settings_, files_));
    EXPECT_EQ(show_.List(), (std::vector<std::string>{"C:\\pics\\a.bmp", "C:\\pics\\b.bmp", "C:\\pics\\x\\c.bmp",
                                                      "C:\\pics\\y\\d.bmp", deep + "e.bmp"}));
    EXPECT_EQ(std::count(files_.listed.begin(), files_.listed.end(), "C:\\pics\\*.*"), 1);
    // Without the flag only the folder itself.
    settings_.flag_SSSubDir = false;
    ASSERT_TRUE(show_.Reload(settings_, files_));
    EXPECT_EQ(show_.List().size(), 2u);
}

TEST(TransitionRulesTest, PresetChoiceLengthAndPace) {
    SlideRandom random(7);
    EXPECT_EQ(ChooseTransition(-1, random), -1);
    EXPECT_EQ(ChooseTransition(0, random), 0);
    EXPECT_EQ(ChooseTransition(27, random), 27);  // chosen by number, a fill-colour preset runs
    EXPECT_EQ(ChooseTransition(137, random), 137);
    std::set<int32_t> drawn;
    for (int i = 0; i < 20000; ++i) drawn.insert(ChooseTransition(138, random));
    EXPECT_EQ(drawn.size(), 134u);
    EXPECT_EQ(*drawn.begin(), 0);
    EXPECT_EQ(*drawn.rbegin(), 137);
    for (int32_t preset = 26; preset <= 29; ++preset) EXPECT_EQ(drawn.count(preset), 0u) << preset;

    struct Length {
        int32_t effectMs, changeSeconds;
        uint32_t expected;
    };
    for (const Length& c : {Length{1000, 30, 1000}, Length{1000, 1, 800}, Length{10000, 5, 4000}, Length{100, 0, 0},
                            Length{500, -3, 0}})
        EXPECT_EQ(TransitionLength(c.effectMs, c.changeSeconds), c.expected) << c.effectMs << " " << c.changeSeconds;

    // 16 steps over 1000 ms, 2040 over 1000 ms (several steps a millisecond), a single frame.
    const TransitionPace blinds{1000, 16}, spiral{1000, 2040}, cut{1000, 0};
    EXPECT_EQ(blinds.StepAt(0), 0);
    EXPECT_EQ(blinds.StepAt(62), 0);
    EXPECT_EQ(blinds.StepAt(63), 1);
    EXPECT_EQ(blinds.StepAt(999), 15);
    EXPECT_EQ(blinds.StepAt(1000), 16);
    EXPECT_EQ(blinds.StepAt(0xFFFFFFFF), 16);
    EXPECT_EQ(spiral.StepAt(500), 1020);
    EXPECT_EQ(cut.StepAt(0), 0);
    for (const TransitionPace& pace : {blinds, spiral, TransitionPace{100, 3}, TransitionPace{7, 1000}})
        for (int32_t step = 1; step <= pace.lastStep; ++step) {
            const uint32_t due = pace.DueAt(step);
            EXPECT_GE(pace.StepAt(due), step);
            EXPECT_LT(pace.StepAt(due - 1), step);
        }
    EXPECT_EQ(blinds.DueAt(16), 1000u);
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
