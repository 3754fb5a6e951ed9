// Saving the settings file in one step with the real profile calls: the bytes are those the
// same calls write in place, and a save that cannot finish leaves the old file and names it.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/errors.h"
#include "core/settings.h"
#include "temp_folder.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;

// The real profile calls, remembering every write.
class RecordingProfile : public WinProfilePort {
public:
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override {
        writes.push_back({section, key, value});
        return WinProfilePort::Write(file, section, key, value);
    }
    std::vector<std::vector<std::string>> writes;
};

const std::string kOldFile =
    "[option]\r\npos=2\r\nfn_bgg=old.bmp\r\n\r\n[debug]\r\ndebuglog=5\r\n\r\n[mine]\r\n; a note of the user's\r\nnote=kept\r\n";

class SettingsSaveTest : public ::testing::Test {
protected:
    SettingsSaveTest() { WriteWholeFile(Ini(), kOldFile); }
    std::wstring Ini() const { return Wide(paths.settingsFilePath); }

    testing::TempFolder folder;
    ProgramPaths paths = DeriveProgramPaths(Narrow(folder.File(L"KEMBO.EXE")));
    RecordingProfile profile;
    WinRegistryPort registry;
    SettingsContext context{paths, profile, registry};
};

TEST_F(SettingsSaveTest, SaveWritesTheBytesOfTheSameWritesMadeInPlace) {
    Settings settings;
    settings.pos = 3;
    settings.width = 640;
    SaveSettings(settings, context);
    EXPECT_FALSE(testing::FileExists(Ini() + L".tmp"));

    // What saves did before: every write straight into the file.
    const std::wstring inPlace = folder.File(L"IN PLACE.INI");
    WriteWholeFile(inPlace, kOldFile);
    WinProfilePort direct;
    ASSERT_FALSE(profile.writes.empty());
    for (const auto& w : profile.writes) ASSERT_TRUE(direct.Write(Narrow(inPlace), w[0], w[1], w[2]));
    EXPECT_EQ(ReadWholeFile(Ini()), ReadWholeFile(inPlace));
}

TEST_F(SettingsSaveTest, SaveThatCannotFinishLeavesTheOldFileAndNamesIt) {
    // A read-only file, whoever runs the program; a folder where the copy would go.
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "no copy");
        ASSERT_TRUE(readOnly ? SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_READONLY)
                             : CreateDirectoryW((Ini() + L".tmp").c_str(), nullptr));
        try {
            SaveOptionSection(Settings{}, context);
            ADD_FAILURE() << "saved";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), paths.settingsFilePath + " に書き込めません");
        }
        EXPECT_EQ(ReadWholeFile(Ini()), kOldFile);
        ASSERT_TRUE(readOnly ? SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_NORMAL)
                             : RemoveDirectoryW((Ini() + L".tmp").c_str()));
    }
}

}  // namespace
}  // namespace kembo
