#include <gtest/gtest.h>

#include "base/errors.h"
#include "core/store.h"
#include "fake_ports.h"

namespace kembo {
namespace {

using test::FakeProfile;
using test::FakeRegistry;
using Type = RegValue::Type;

const std::string kFile = "C:\\Apps\\KEMBO.INI";

template <typename Action>
std::string ErrorText(Action action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(IniStore, MissingFileGivesEveryDefaultAndCreatesNothing) {
    FakeProfile profile;
    const auto store = AMIni1::CreateIni(profile, kFile);
    EXPECT_EQ(store->Kind(), StoreKind::IniFile);
    EXPECT_EQ(store->ReadString("option", "fn_bgg", "sample1.bmp"), "sample1.bmp");
    EXPECT_EQ(store->ReadInteger("main", "width", 400), 400);
    EXPECT_TRUE(store->ReadBool("option", "flag_use_hins1", true));
    EXPECT_EQ(store->ReadColor("option", "backcolor", 0x800080), 0x800080u);
    EXPECT_FALSE(profile.HasFile(kFile));
}

TEST(IniStore, FirstWriteCreatesTheFileWithOneSectionAndKey) {
    FakeProfile profile;
    AMIni1::CreateIni(profile, kFile)->WriteString("sta", "val_lastdatadir", "D:\\pics");
    EXPECT_EQ(profile.Dump(kFile), std::vector<std::string>{"sta: val_lastdatadir=D:\\pics"});
}

TEST(IniStore, IntegersAndBooleansAreDecimalText) {
    FakeProfile profile;
    const auto store = AMIni1::CreateIni(profile, kFile);
    store->WriteInteger("option", "val_fpossx", -1920);
    store->WriteBool("option", "on", true);
    store->WriteBool("option", "off", false);
    EXPECT_EQ(profile.Dump(kFile), std::vector<std::string>{"option: val_fpossx=-1920 on=1 off=0"});
    EXPECT_EQ(store->ReadInteger("option", "val_fpossx", 0), -1920);

    const struct {
        const char* stored;
        int32_t asInteger;  // default 5
        bool asBool;        // default true
    } cases[] = {
        {"1", 1, true}, {"7", 7, true}, {"0", 0, false}, {"-3", -3, true},
        {"$10", 16, true}, {"abc", 5, true}, {"", 5, true}, {"12px", 5, true},
    };
    for (const auto& c : cases) {
        profile.Put(kFile, "t", "k", c.stored);
        EXPECT_EQ(store->ReadInteger("t", "k", 5), c.asInteger) << c.stored;
        EXPECT_EQ(store->ReadBool("t", "k", true), c.asBool) << c.stored;
    }
    profile.Put(kFile, "t", "k", "abc");
    EXPECT_FALSE(store->ReadBool("t", "k", false));
}

TEST(IniStore, ColoursReadAsNameOrNumberElseDefault) {
    FakeProfile profile;
    const auto store = AMIni1::CreateIni(profile, kFile);
    const struct {
        const char* stored;
        Color read;
    } cases[] = {
        {"clTeal", 0x808000}, {"$00FF0000", 0xFF0000}, {"teal", 0x123456}, {"", 0x123456},
    };
    for (const auto& c : cases) {
        profile.Put(kFile, "option", "backcolor", c.stored);
        EXPECT_EQ(store->ReadColor("option", "backcolor", 0x123456), c.read) << c.stored;
    }
    store->WriteColor("option", "a", 0x800080);
    store->WriteColor("option", "b", 0xA0B0C0);
    EXPECT_EQ(profile.Get(kFile, "option", "a"), "clPurple");
    EXPECT_EQ(profile.Get(kFile, "option", "b"), "$00A0B0C0");
    EXPECT_EQ(store->ReadColor("option", "b", 0), 0xA0B0C0u);
}

TEST(IniStore, EveryReadGoesToTheFileAndTextsStopAt2047Characters) {
    FakeProfile profile;
    const auto store = AMIni1::CreateIni(profile, kFile);
    EXPECT_EQ(store->ReadString("s", "k", "d"), "d");
    profile.Put(kFile, "s", "k", std::string(3000, 'x'));  // changed behind the store's back
    EXPECT_EQ(store->ReadString("s", "k", "d"), std::string(2047, 'x'));
}

TEST(IniStore, FailedWriteNamesTheFile) {
    FakeProfile profile;
    const std::string readOnly = "C:\\ro\\KEMBO.INI";
    profile.readOnlyFiles.insert(readOnly);
    const auto store = AMIni1::CreateIni(profile, readOnly);
    const std::string expected = "C:\\ro\\KEMBO.INI に書き込めません";
    EXPECT_EQ(ErrorText([&] { store->WriteString("s", "k", "v"); }), expected);
    EXPECT_EQ(ErrorText([&] { store->WriteInteger("s", "k", 1); }), expected);
    EXPECT_EQ(ErrorText([&] { store->WriteBool("s", "k", true); }), expected);
    EXPECT_EQ(ErrorText([&] { store->WriteColor("s", "k", 0); }), expected);
}

TEST(RegIniStore, CreatesItsKeyAtOnceAndKeepsSectionsAsSubkeys) {
    FakeRegistry registry;
    const auto store = AMIni1::CreateRegIni(registry, "\\SOFTWARE\\VOLKA\\Common");
    EXPECT_EQ(store->Kind(), StoreKind::RegistryIni);
    EXPECT_EQ(registry.createdKeys, std::vector<std::string>{"SOFTWARE\\VOLKA\\Common"});
    EXPECT_TRUE(registry.HasKey(RegRoot::CurrentUser, "SOFTWARE\\VOLKA\\Common"));

    EXPECT_EQ(store->ReadString("path", "KEMBO", "none"), "none");
    store->WriteString("path", "KEMBO", "C:\\Apps\\KEMBO.EXE");
    store->WriteInteger("path", "n", -1920);
    store->WriteBool("path", "b", true);
    const std::string sub = "SOFTWARE\\VOLKA\\Common\\path";
    EXPECT_EQ(registry.Get(RegRoot::CurrentUser, sub, "KEMBO").text, "C:\\Apps\\KEMBO.EXE");
    EXPECT_EQ(registry.Get(RegRoot::CurrentUser, sub, "n").type, Type::String);
    EXPECT_EQ(registry.Get(RegRoot::CurrentUser, sub, "b").text, "1");
    EXPECT_EQ(store->ReadInteger("path", "n", 0), -1920);
    EXPECT_TRUE(store->ReadBool("path", "b", false));
}

TEST(RegIniStore, IntegersAcceptTextOrNumberValues) {
    FakeRegistry registry;
    const auto store = AMIni1::CreateRegIni(registry, "K");
    registry.Put(RegRoot::CurrentUser, "K\\s", "dword", {Type::Dword, {}, 0xFFFFFFFF});
    registry.Put(RegRoot::CurrentUser, "K\\s", "junk", {Type::String, "abc", 0});
    registry.Put(RegRoot::CurrentUser, "K\\s", "blob", {Type::Other, {}, 0});
    EXPECT_EQ(store->ReadInteger("s", "dword", 5), -1);
    EXPECT_EQ(store->ReadInteger("s", "junk", 5), 5);
    EXPECT_EQ(store->ReadInteger("s", "missing", 5), 5);
    EXPECT_EQ(ErrorText([&] { store->ReadInteger("s", "blob", 5); }), "'blob' のデータ型が不正です");
}

TEST(RegIniStore, AKeyThatCannotBeCreatedFailsOnWrite) {
    FakeRegistry registry;
    registry.failCreate = true;
    registry.failWrites = true;
    const auto store = AMIni1::CreateRegIni(registry, "\\SOFTWARE\\VOLKA\\Common");
    EXPECT_EQ(store->ReadString("path", "KEMBO", "d"), "d");
    EXPECT_EQ(ErrorText([&] { store->WriteString("path", "KEMBO", "x"); }),
              "'KEMBO' の設定に失敗しました");
}

TEST(RegistryStore, NumbersAreDwordsUnderKeyPathAndSection) {
    FakeRegistry registry;
    const auto store = AMIni1::CreateRegistry(registry, "\\Software\\Test", RegRoot::LocalMachine);
    EXPECT_EQ(store->Kind(), StoreKind::Registry);
    EXPECT_EQ(store->ReadInteger("sec", "n", 9), 9);
    EXPECT_TRUE(registry.createdKeys.empty());
    EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, "Software\\Test\\sec"));

    store->WriteInteger("sec", "n", -1920);
    store->WriteBool("sec", "b", true);
    store->WriteString("sec", "s", "text");
    const RegValue n = registry.Get(RegRoot::LocalMachine, "Software\\Test\\sec", "n");
    EXPECT_EQ(n.type, Type::Dword);
    EXPECT_EQ(n.number, static_cast<uint32_t>(-1920));
    EXPECT_EQ(registry.Get(RegRoot::LocalMachine, "Software\\Test\\sec", "b").number, 1u);
    EXPECT_EQ(store->ReadInteger("sec", "n", 0), -1920);
    EXPECT_EQ(store->ReadString("sec", "s", ""), "text");
    registry.Put(RegRoot::LocalMachine, "Software\\Test\\sec", "b", {Type::Dword, {}, 7});
    EXPECT_TRUE(store->ReadBool("sec", "b", false));
}

TEST(RegistryStore, ReportsWrongTypesAndFailuresByValueName) {
    FakeRegistry registry;
    const auto store = AMIni1::CreateRegistry(registry, "K", RegRoot::CurrentUser);
    registry.Put(RegRoot::CurrentUser, "K\\s", "text", {Type::String, "12", 0});
    registry.Put(RegRoot::CurrentUser, "K\\s", "number", {Type::Dword, {}, 12});
    EXPECT_EQ(ErrorText([&] { store->ReadInteger("s", "text", 0); }), "'text' のデータ型が不正です");
    EXPECT_EQ(ErrorText([&] { store->ReadBool("s", "text", false); }), "'text' のデータ型が不正です");
    EXPECT_EQ(ErrorText([&] { store->ReadString("s", "number", ""); }), "'number' のデータ型が不正です");
    // A colour never raises: what cannot be read is the default.
    EXPECT_EQ(store->ReadColor("s", "number", 0x800080), 0x800080u);

    registry.failReads = true;
    EXPECT_EQ(ErrorText([&] { store->ReadString("s", "text", ""); }), "'text' の取得に失敗しました");
    EXPECT_EQ(store->ReadColor("s", "text", 0x123456), 0x123456u);
    registry.failWrites = true;
    EXPECT_EQ(ErrorText([&] { store->WriteInteger("s", "number", 1); }), "'number' の設定に失敗しました");
    EXPECT_EQ(ErrorText([&] { store->WriteString("s", "text", ""); }), "'text' の設定に失敗しました");
}

}  // namespace
}  // namespace kembo
