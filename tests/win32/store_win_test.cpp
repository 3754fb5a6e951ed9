// The settings store against the real profile calls and registry.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/errors.h"
#include "core/store.h"
#include "temp_folder.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::FileExists;
using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

class IniStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<AMIni1> Store() { return AMIni1::CreateIni(port_, path_); }
    TempFolder folder_;
    std::string path_ = Narrow(folder_.File(L"KEMBO.INI"));
    WinProfilePort port_;
};

TEST_F(IniStoreTest, MissingFileGivesDefaultsAndStaysMissing) {
    auto store = Store();
    EXPECT_EQ(store->Kind(), StoreKind::IniFile);
    EXPECT_EQ(store->ReadString("option", "fn_bgg", "sample1.bmp"), "sample1.bmp");
    EXPECT_EQ(store->ReadInteger("main", "left", -7), -7);
    EXPECT_TRUE(store->ReadBool("option", "flag_use_hint1", true));
    EXPECT_EQ(store->ReadColor("option", "backcolor", 0x800080u), 0x800080u);
    EXPECT_FALSE(FileExists(Wide(path_)));
}

TEST_F(IniStoreTest, FirstWriteCreatesTheFileWithOneEntry) {
    Store()->WriteInteger("main", "width", 400);
    EXPECT_EQ(ReadWholeFile(Wide(path_)), "[main]\r\nwidth=400\r\n");
}

TEST_F(IniStoreTest, ValuesRoundTripThroughTheFile) {
    {
        auto store = Store();
        store->WriteInteger("main", "left", -1920);
        store->WriteInteger("main", "top", -2147483647 - 1);
        store->WriteBool("option", "flag_SlideShow", true);
        store->WriteColor("option", "backcolor", 0x00A0B0C0u);
        store->WriteColor("option", "margin", 0x800080u);
        store->WriteString("sta", "val_lastdatadir", "C:\\写真\\2026");
    }
    auto store = Store();
    EXPECT_EQ(store->ReadInteger("main", "left", 0), -1920);
    EXPECT_EQ(store->ReadInteger("main", "top", 0), -2147483647 - 1);
    EXPECT_TRUE(store->ReadBool("option", "flag_SlideShow", false));
    EXPECT_EQ(store->ReadColor("option", "backcolor", 0), 0x00A0B0C0u);
    EXPECT_EQ(store->ReadString("option", "backcolor", ""), "$00A0B0C0");
    EXPECT_EQ(store->ReadString("option", "margin", ""), "clPurple");
    // The profile file is ANSI: a text survives as far as the code page can hold it.
    EXPECT_EQ(store->ReadString("sta", "val_lastdatadir", "").substr(0, 3), "C:\\");
}

TEST_F(IniStoreTest, HandWrittenEntriesReadAsTheProgramExpects) {
    WriteWholeFile(Wide(path_),
                   "[option]\r\nyes=7\r\nno=0\r\nword=abc\r\nteal=clTeal\r\nblue=$00FF0000\r\n"
                   "bare=teal\r\nspaced=  42  \r\nhuge=99999999999\r\n");
    auto store = Store();
    EXPECT_TRUE(store->ReadBool("option", "yes", false));
    EXPECT_FALSE(store->ReadBool("option", "no", true));
    EXPECT_FALSE(store->ReadBool("option", "word", false));
    EXPECT_EQ(store->ReadInteger("option", "word", 5), 5);
    EXPECT_EQ(store->ReadColor("option", "teal", 0), 0x808000u);
    EXPECT_EQ(store->ReadColor("option", "blue", 0), 0xFF0000u);
    EXPECT_EQ(store->ReadColor("option", "bare", 0x800080u), 0x800080u);
    EXPECT_EQ(store->ReadInteger("option", "spaced", 0), 42);
    EXPECT_EQ(store->ReadInteger("option", "huge", 3), 3);
}

TEST_F(IniStoreTest, LongTextIsCutAt2047Characters) {
    const std::string longText(3000, 'x');
    Store()->WriteString("option", "SlideShowDir", longText);
    EXPECT_EQ(Store()->ReadString("option", "SlideShowDir", ""), std::string(2047, 'x'));
}

TEST_F(IniStoreTest, UnwritableFileRaisesWithItsPath) {
    // A folder in the file's place cannot be written, whoever runs the test.
    ASSERT_TRUE(CreateDirectoryW(Wide(path_).c_str(), nullptr));
    auto store = Store();
    EXPECT_EQ(store->ReadInteger("main", "width", 400), 400);
    try {
        store->WriteInteger("main", "width", 500);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), path_ + " に書き込めません");
    }
}

// Registry tests work below a key of their own and remove it afterwards.
class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = "Software\\KemboTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Wide(base_).c_str()); }
    bool KeyExists(const std::string& path) {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    DWORD ValueType(const std::string& path, const std::string& name) {
        DWORD type = REG_NONE;
        RegGetValueW(HKEY_CURRENT_USER, Wide(path).c_str(), Wide(name).c_str(), RRF_RT_ANY, &type,
                     nullptr, nullptr);
        return type;
    }
    std::string base_;
    WinRegistryPort port_;
};

TEST_F(RegistryStoreTest, RegistryIniCreatesItsKeyEvenForReads) {
    auto store = AMIni1::CreateRegIni(port_, "\\" + base_);
    EXPECT_TRUE(KeyExists(base_));
    EXPECT_EQ(store->ReadString("path", "KEMBO", "none"), "none");
    EXPECT_FALSE(KeyExists(base_ + "\\path"));
    store->WriteString("path", "KEMBO", "C:\\Apps\\KEMBO.EXE");
    EXPECT_EQ(ValueType(base_ + "\\path", "KEMBO"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(store->ReadString("path", "KEMBO", ""), "C:\\Apps\\KEMBO.EXE");
    store->WriteInteger("numbers", "left", -1920);
    store->WriteBool("numbers", "flag", true);
    EXPECT_EQ(store->ReadInteger("numbers", "left", 0), -1920);
    EXPECT_TRUE(store->ReadBool("numbers", "flag", false));
}

TEST_F(RegistryStoreTest, RegistryKindReadsWithoutCreatingAndTypesNumbers) {
    auto store = AMIni1::CreateRegistry(port_, base_, RegRoot::CurrentUser);
    EXPECT_EQ(store->ReadInteger("main", "width", 400), 400);
    EXPECT_EQ(store->ReadString("main", "name", "x"), "x");
    EXPECT_FALSE(KeyExists(base_));

    store->WriteInteger("main", "width", -5);
    store->WriteBool("main", "flag", true);
    store->WriteString("main", "name", "画像");
    store->WriteColor("main", "color", 0x808000u);
    EXPECT_EQ(ValueType(base_ + "\\main", "width"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(store->ReadInteger("main", "width", 0), -5);
    EXPECT_TRUE(store->ReadBool("main", "flag", false));
    EXPECT_EQ(store->ReadString("main", "name", ""), "画像");  // the registry keeps Unicode
    EXPECT_EQ(store->ReadColor("main", "color", 0), 0x808000u);
}

TEST_F(RegistryStoreTest, RegistryKindRefusesValuesOfTheWrongType) {
    auto store = AMIni1::CreateRegistry(port_, base_, RegRoot::CurrentUser);
    store->WriteString("main", "text", "12");
    store->WriteInteger("main", "number", 12);
    try {
        store->ReadInteger("main", "text", 0);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "'text' のデータ型が不正です");
    }
    EXPECT_THROW(store->ReadString("main", "number", ""), Error);
}

}  // namespace
}  // namespace kembo
