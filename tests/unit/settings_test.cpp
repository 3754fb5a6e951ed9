#include <gtest/gtest.h>

#include "base/errors.h"
#include "core/settings.h"
#include "fake_ports.h"

namespace kembo {
namespace {

using test::FakeProfile;
using test::FakeRegistry;

const std::vector<std::string> kOptionOrder = {
    "option/pos",          "option/flag_use_hint1", "option/flag_use_hins1", "option/val_usespi",
    "option/val_titlewait", "option/fn_bgg",        "option/braito",         "option/val_ecf",
    "option/val_fpossx",   "option/val_fpossy",     "option/val_fposex",     "option/val_fposey",
    "option/val_ffrraito", "option/backcolor",      "option/SlideShowDir",   "option/val_SSChangeTime",
    "option/flag_SlideShow",
};
const std::vector<std::string> kAddedOrder = {"option/val_SSEffect", "option/val_SSEffectTime",
                                              "option/flag_SSRandom", "option/flag_SSSubDir",
                                              "option/val_spitimeout", "option/language"};
const std::vector<std::string> kWindowOrder = {"main/top", "main/left", "main/width", "main/height",
                                               "sta/val_lastdatadir"};

std::vector<std::string> Keys(const std::vector<FakeProfile::Access>& accesses) {
    std::vector<std::string> keys;
    for (const auto& a : accesses) keys.push_back(a.section + "/" + a.key);
    return keys;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SettingsTest : public ::testing::Test {
protected:
    ProgramPaths paths = DeriveProgramPaths("C:\\Apps\\KEMBO.EXE");
    FakeProfile profile;
    FakeRegistry registry;
    SettingsContext context{paths, profile, registry};
    const std::string& file = paths.settingsFilePath;
    const std::string staging = file + ".tmp";
};

TEST_F(SettingsTest, NoFileLoadsTheDefaultsAndLeavesEverythingUntouched) {
    Settings s;
    s.width = 1;
    s.backcolor = 0;
    s.fn_bgg.clear();
    s.rewritelog = 0;
    LoadSettings(s, context);
    EXPECT_EQ(s.width, 400);
    EXPECT_EQ(s.backcolor, 0x800080u);
    EXPECT_EQ(s.fn_bgg, "sample1.bmp");
    EXPECT_EQ(s.rewritelog, 1);
    EXPECT_FALSE(profile.HasFile(file));
    EXPECT_TRUE(registry.createdKeys.empty());
}

TEST_F(SettingsTest, LoadReadsOptionThenDebugMainAndSta) {
    Settings s;
    LoadSettings(s, context);
    const auto expected = Concat(Concat(Concat(kOptionOrder, kAddedOrder), {"debug/debug", "debug/debuglog", "debug/rewritelog"}),
                                 kWindowOrder);
    EXPECT_EQ(Keys(profile.reads), expected);
    for (const auto& read : profile.reads) EXPECT_EQ(read.file, file);
}

TEST_F(SettingsTest, LoadTakesStoredValuesAndDefaultsForGarbage) {
    profile.Put(file, "option", "val_fpossx", "-1920");
    profile.Put(file, "option", "flag_SlideShow", "7");
    profile.Put(file, "option", "backcolor", "teal");
    profile.Put(file, "option", "braito", "150%");
    profile.Put(file, "option", "SlideShowDir", "D:\\写真");
    profile.Put(file, "debug", "debuglog", "2");
    profile.Put(file, "main", "width", "0");
    Settings s;
    LoadSettings(s, context);
    EXPECT_EQ(s.val_fpossx, -1920);
    EXPECT_TRUE(s.flag_SlideShow);
    EXPECT_EQ(s.backcolor, 0x800080u);
    EXPECT_EQ(s.braito, 100);
    EXPECT_EQ(s.SlideShowDir, "D:\\写真");
    EXPECT_EQ(s.debuglog, 2);
    EXPECT_EQ(s.width, 0);  // corrected later, when the window settings are applied
}

TEST_F(SettingsTest, SaveWritesEveryKeyInOrderButNeverDebug) {
    Settings s;
    SaveSettings(s, context);
    EXPECT_EQ(Keys(profile.writes), Concat(kOptionOrder, kWindowOrder));
    for (const auto& write : profile.writes) EXPECT_EQ(write.file, staging);
    EXPECT_EQ(profile.Get(file, "option", "backcolor"), "clPurple");
    EXPECT_EQ(profile.Get(file, "option", "flag_use_hint1"), "1");
    EXPECT_EQ(profile.Get(file, "option", "val_fposex"), "-1");
    EXPECT_EQ(profile.Dump(file).size(), 3u);  // option, main, sta

    EXPECT_EQ(registry.createdKeys, std::vector<std::string>{"SOFTWARE\\VOLKA\\Common"});
    const RegValue path = registry.Get(RegRoot::CurrentUser, "SOFTWARE\\VOLKA\\Common\\path", "KEMBO");
    EXPECT_EQ(path.type, RegValue::Type::String);
    EXPECT_EQ(path.text, "C:\\Apps\\KEMBO.EXE");

    profile.writes.clear();
    SaveOptionSection(s, context);
    EXPECT_EQ(Keys(profile.writes), kOptionOrder);
}

TEST_F(SettingsTest, SavedValuesLoadBackUnchanged) {
    Settings saved;
    saved.pos = 3;
    saved.flag_use_hint1 = false;
    saved.fn_bgg = "C:\\絵\\a b.jpg";
    saved.val_fpossx = -1920;
    saved.backcolor = 0xA0B0C0;
    saved.flag_SlideShow = true;
    saved.top = -20;
    saved.val_lastdatadir = "E:\\";
    SaveSettings(saved, context);
    EXPECT_EQ(profile.Get(file, "option", "backcolor"), "$00A0B0C0");

    Settings loaded;
    LoadSettings(loaded, context);
    FakeProfile again;
    SaveSettings(loaded, {paths, again, registry});
    EXPECT_EQ(again.Dump(file), profile.Dump(file));
    EXPECT_EQ(loaded.val_fpossx, -1920);
}

TEST_F(SettingsTest, AddedKeysAreClampedAndWrittenOnlyOnceSetOrAlreadyStored) {
    struct Case {
        const char* key;
        const char* stored;  // nullptr: not in the file
        const char* loaded;  // the value as written back, nullptr: not written
    };
    const Case cases[] = {
        {"val_SSEffect", nullptr, nullptr},      {"val_SSEffect", "-1", "-1"},
        {"val_SSEffect", "500", "138"},          {"val_SSEffect", "-7", "-1"},
        {"val_SSEffectTime", "50", "100"},       {"val_SSEffectTime", "x", "1000"},
        {"flag_SSRandom", "1", "1"},             {"flag_SSSubDir", "", "0"},
        {"val_spitimeout", "999999", "120000"},  {"language", nullptr, nullptr},
        {"language", "", ""},                    {"language", "en", "en"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.stored ? c.stored : "(none)"));
        FakeProfile fresh;
        if (c.stored) fresh.Put(file, "option", c.key, c.stored);
        Settings s;
        LoadSettings(s, {paths, fresh, registry});
        SaveSettings(s, {paths, fresh, registry});
        const auto written = fresh.Get(file, "option", c.key);
        EXPECT_EQ(written.has_value(), c.loaded != nullptr);
        if (written && c.loaded) {
            EXPECT_EQ(*written, c.loaded);
        }
    }
    Settings set;
    set.flag_SSRandom = true;
    set.language = "ja";
    SaveOptionSection(set, context);
    EXPECT_EQ(profile.Get(file, "option", "flag_SSRandom"), "1");
    EXPECT_EQ(profile.Get(file, "option", "language"), "ja");
    EXPECT_FALSE(profile.Get(file, "option", "val_SSEffect").has_value());
}

TEST_F(SettingsTest, ReadOnlyFileStopsTheSaveWithItsPath) {
    profile.readOnlyFiles.insert(file);
    try {
        SaveSettings(Settings{}, context);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "C:\\Apps\\KEMBO.INI に書き込めません");
    }
    EXPECT_TRUE(registry.createdKeys.empty());
}

TEST_F(SettingsTest, SaveWritesACopyOfTheFileAndPutsItInPlaceInOneStep) {
    profile.Put(file, "option", "pos", "2");
    profile.Put(file, "debug", "debuglog", "5");
    profile.Put(file, "mine", "note", "kept");
    Settings s;
    s.pos = 3;
    SaveOptionSection(s, context);
    EXPECT_EQ(profile.fileOperations, (std::vector<std::string>{"Remove " + staging, "Copy " + file + " " + staging,
                                                                "Flush " + staging, "Replace " + staging + " " + file}));
    EXPECT_EQ(profile.Get(file, "option", "pos"), "3");
    EXPECT_EQ(profile.Get(file, "debug", "debuglog"), "5");
    EXPECT_EQ(profile.Get(file, "mine", "note"), "kept");
    EXPECT_FALSE(profile.HasFile(staging));
}

TEST_F(SettingsTest, SaveThatCannotFinishLeavesTheOldFileAndNamesIt) {
    profile.Put(file, "option", "pos", "2");
    const auto before = profile.Dump(file);
    Settings s;
    s.pos = 3;
    for (const std::string step : {"Copy", "Flush", "Replace", "read-only"}) {
        SCOPED_TRACE(step);
        profile.failing.clear();
        profile.readOnlyFiles.clear();
        if (step == "read-only") {
            profile.readOnlyFiles.insert(file);
        } else {
            profile.failing.insert(step);
        }
        try {
            SaveSettings(s, context);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "C:\\Apps\\KEMBO.INI に書き込めません");
        }
        EXPECT_EQ(profile.Dump(file), before);
        EXPECT_FALSE(profile.HasFile(staging));
    }
    EXPECT_TRUE(registry.createdKeys.empty());
}

TEST_F(SettingsTest, CopyLeftBehindByAnUnfinishedSaveIsIgnoredAndRemoved) {
    profile.Put(file, "option", "pos", "1");
    profile.Put(staging, "option", "pos", "3");
    Settings s;
    LoadSettings(s, context);
    EXPECT_EQ(s.pos, 1);
    EXPECT_FALSE(profile.HasFile(staging));
}

}  // namespace
}  // namespace kembo
