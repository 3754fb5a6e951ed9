// The plug-in host's ports on the real system, with the fixture plug-ins as real libraries.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <thread>
#include <vector>

#include "base/text.h"
#include "box_watch.h"
#include "kpic.h"
#include "plugin_fixtures.h"
#include "temp_folder.h"
#include "toolkit/ole_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::FixtureLog;
using testing::PluginFolder;

std::string PluginPath(const std::wstring& set, const std::wstring& file) {
    return Narrow(PluginFolder(set) + file);
}

template <typename Function>
Function Bind(ModuleLoader& loader, ModuleLoader::Module module, const char* name) {
    return reinterpret_cast<Function>(loader.Resolve(module, name));
}

TEST(WinModuleLoaderTest, LoadsByFullPathResolvesPlainNamesAndFrees) {
    WinModuleLoader loader;
    const std::string path = PluginPath(L"basic", L"a.spi");
    ModuleLoader::Module module = loader.Load(path);
    ASSERT_NE(module, nullptr) << path;
    for (const char* name : {"GetPluginInfo", "IsSupported", "GetPictureInfo", "GetPicture"})
        EXPECT_NE(loader.Resolve(module, name), nullptr) << name;
    EXPECT_EQ(loader.Resolve(module, "GetPluginInfo@12"), nullptr);
    EXPECT_EQ(loader.Resolve(module, "GetPreview"), nullptr);
    EXPECT_TRUE(SameTextAscii(loader.ModulePath(module), path)) << loader.ModulePath(module);

    // The system counts loads: the library stays until the last Free.
    ModuleLoader::Module again = loader.Load(path);
    EXPECT_EQ(again, module);
    loader.Free(again);
    EXPECT_NE(GetModuleHandleW(Wide(path).c_str()), nullptr);
    loader.Free(module);
    EXPECT_EQ(GetModuleHandleW(Wide(path).c_str()), nullptr);
}

TEST(WinModuleLoaderTest, RefusesWhatIsNoLibraryQuietly) {
    WinModuleLoader loader;
    testing::BoxWatch watch;
    EXPECT_EQ(loader.Load(PluginPath(L"basic", L"x.spi")), nullptr);
    EXPECT_EQ(loader.Load(PluginPath(L"basic", L"missing.spi")), nullptr);
    EXPECT_EQ(loader.Load(""), nullptr);
    EXPECT_FALSE(watch.Stop()) << "a message box appeared";

    EXPECT_EQ(loader.Resolve(nullptr, "GetPluginInfo"), nullptr);
    EXPECT_EQ(loader.ModulePath(nullptr), "");  // not the program's own path
    loader.Free(nullptr);
}

// Changes the current folder for one test.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& folder) {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryW(previous_); }

private:
    wchar_t previous_[MAX_PATH] = {};
};

TEST(WinModuleLoaderTest, FindsDependenciesBesideThePluginNeverInTheCurrentFolder) {
    WinModuleLoader loader;
    const std::wstring dependency = PluginFolder(L"dependency") + L"kpicdep.dll";
    testing::TempFolder current;
    testing::TempFolder plugins;
    ASSERT_TRUE(CopyFileW(dependency.c_str(), current.File(L"kpicdep.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((PluginFolder(L"dependent") + L"needsdep.spi").c_str(),
                          plugins.File(L"needsdep.spi").c_str(), FALSE));
    const std::string plugin = Narrow(plugins.File(L"needsdep.spi"));
    {
        CurrentFolder inCurrent(current.Path());
        EXPECT_EQ(loader.Load(plugin), nullptr);
    }
    ASSERT_TRUE(CopyFileW(dependency.c_str(), plugins.File(L"kpicdep.dll").c_str(), FALSE));
    ModuleLoader::Module module = loader.Load(plugin);
    ASSERT_NE(module, nullptr);
    using Value = int(__stdcall*)();
    EXPECT_EQ(Bind<Value>(loader, module, "KpicDependencyValue")(), 42);
    loader.Free(module);
}

TEST(WinLocalMemoryTest, LocksSizesAndFreesLocalBlocks) {
    WinLocalMemory memory;
    HLOCAL moveable = LocalAlloc(LMEM_MOVEABLE, 100);
    ASSERT_NE(moveable, nullptr);
    EXPECT_EQ(memory.Size(moveable), 100u);
    auto* bytes = static_cast<char*>(memory.Lock(moveable));
    ASSERT_NE(bytes, nullptr);
    std::memcpy(bytes, "KEMBO", 6);
    memory.Unlock(moveable);
    bytes = static_cast<char*>(memory.Lock(moveable));
    ASSERT_NE(bytes, nullptr);
    EXPECT_STREQ(bytes, "KEMBO");
    memory.Unlock(moveable);
    memory.Free(moveable);

    HLOCAL fixed = LocalAlloc(LMEM_FIXED, 16);
    EXPECT_EQ(memory.Lock(fixed), fixed);
    memory.Unlock(fixed);
    memory.Free(fixed);

    EXPECT_EQ(memory.Lock(nullptr), nullptr);
    EXPECT_EQ(memory.Size(nullptr), 0u);
    memory.Unlock(nullptr);
    memory.Free(nullptr);
}

TEST(WinAnsiCodecTest, ConvertsBetweenUtf8AndTheSystemCodePage) {
    WinAnsiCodec codec;
    EXPECT_EQ(codec.ToAnsi("picture 01.pic"), "picture 01.pic");
    EXPECT_EQ(codec.FromAnsi("picture 01.pic"), "picture 01.pic");
    EXPECT_EQ(codec.ToAnsi(""), "");
    EXPECT_EQ(codec.FromAnsi(""), "");

    // Text the code page holds survives the round trip, in that code page's bytes.
    const UINT codePage = GetACP();
    if (codePage == 932) {
        EXPECT_EQ(codec.ToAnsi("画像.pic"), "\x89\xE6\x91\x9C.pic");
        EXPECT_EQ(codec.FromAnsi("\x89\xE6\x91\x9C.pic"), "画像.pic");
    } else if (codePage == 1252) {
        EXPECT_EQ(codec.ToAnsi("café.pic"), "caf\xE9.pic");
        EXPECT_EQ(codec.FromAnsi("caf\xE9.pic"), "café.pic");
        EXPECT_EQ(codec.ToAnsi("画.pic"), "?.pic");  // what it cannot hold is replaced, not lost
    } else {
        ADD_FAILURE() << "untested code page " << codePage;
    }
}

TEST(WinSystemFoldersTest, NamesExistingFolders) {
    WinSystemFolders folders;
    for (const std::string& folder : {folders.SystemFolder(), folders.WindowsFolder(), folders.CurrentFolder()}) {
        ASSERT_FALSE(folder.empty());
        const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << folder;
    }

    testing::TempFolder temp;
    std::string current;
    {
        CurrentFolder inTemp(temp.Path());
        current = folders.CurrentFolder();
    }
    std::string expected = Narrow(temp.Path());
    expected.pop_back();  // the system names folders without a trailing separator
    EXPECT_TRUE(SameTextAscii(current, expected)) << current;
}

TEST(OleSessionTest, BalancesOnlyWhatSucceeded) {
    {
        OleSession outer;
        EXPECT_TRUE(outer.Active());
        OleSession inner;  // already initialised: counts, and is undone, too
        EXPECT_TRUE(inner.Active());
    }
    // A thread already in the multithreaded apartment cannot have OLE; the session leaves its COM alone.
    std::thread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            OleSession session;
            EXPECT_FALSE(session.Active());
        }
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);  // still initialised
        CoUninitialize();
        CoUninitialize();
    }).join();
}

// The fixture plug-ins called through the host's function types, as the host will call them.
class SpiCallTest : public ::testing::Test {
protected:
    void Open(const std::wstring& set, const std::wstring& file) {
        module_ = loader_.Load(PluginPath(set, file));
        ASSERT_NE(module_, nullptr);
        log_ = FixtureLog(static_cast<HMODULE>(module_));
        ASSERT_NE(log_, nullptr);
        *log_ = KpicLog{};
    }
    void TearDown() override { loader_.Free(module_); }

    std::string Info(int32_t number, int32_t length = 255) {
        char buffer[256] = {};
        const int32_t written = Bind<SpiGetPluginInfo>(loader_, module_, "GetPluginInfo")(number, buffer, length);
        EXPECT_EQ(written, static_cast<int32_t>(std::strlen(buffer)));
        return buffer;
    }

    WinModuleLoader loader_;
    ModuleLoader::Module module_ = nullptr;
    KpicLog* log_ = nullptr;
};

TEST_F(SpiCallTest, GetPluginInfoGivesTypeNameAndFormats) {
    Open(L"basic", L"a.spi");
    EXPECT_EQ(Info(0), "00IN");
    EXPECT_EQ(Info(1), "KPIC test plug-in");
    EXPECT_EQ(Info(2), "*.pic");
    EXPECT_EQ(Info(3), "KPIC picture");
    EXPECT_EQ(Info(4), "*.pi1;*.pi2");
    EXPECT_EQ(Info(5), "KPIC numbered picture");
    EXPECT_EQ(Info(6), "");
    EXPECT_EQ(Info(-1), "");
    EXPECT_EQ(Info(0, 3), "00");  // the length counts the terminating zero
}

TEST_F(SpiCallTest, IsSupportedReadsTheBlockItIsGiven) {
    Open(L"basic", L"a.spi");
    const auto isSupported = Bind<SpiIsSupported>(loader_, module_, "IsSupported");
    std::vector<char> block(2048, '\0');
    const std::string picture = testing::KpicFilled(2, 2, {1, 2, 3});
    std::memcpy(block.data(), picture.data(), picture.size());
    EXPECT_NE(isSupported("C:\\pictures\\one.pic", block.data()), 0);
    EXPECT_STREQ(log_->lastName, "C:\\pictures\\one.pic");
    EXPECT_EQ(std::memcmp(log_->lastData, block.data(), block.size()), 0);

    block[0] = 'X';
    EXPECT_EQ(isSupported("", block.data()), 0);
    EXPECT_EQ(log_->isSupportedCalls, 2);
}

TEST_F(SpiCallTest, PictureCallsHandBackLocalBlocks) {
    Open(L"basic", L"a.spi");
    WinLocalMemory memory;
    // 3 x 2: red, green, blue on the top row, white below.
    const std::string picture = testing::KpicPicture(3, 2, [](int x, int y) -> testing::KpicColour {
        if (y == 1) return {255, 255, 255};
        return x == 0 ? testing::KpicColour{255, 0, 0} : x == 1 ? testing::KpicColour{0, 255, 0} : testing::KpicColour{0, 0, 255};
    });
    const auto length = static_cast<int32_t>(picture.size());

    SpiPictureInfo info{};
    EXPECT_EQ(Bind<SpiGetPictureInfo>(loader_, module_, "GetPictureInfo")(picture.data(), length, 1, &info), 0);
    EXPECT_EQ(info.width, 3);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(info.colorDepth, 24);
    auto* text = reinterpret_cast<void*>(static_cast<uintptr_t>(info.infoText));
    ASSERT_NE(text, nullptr);
    EXPECT_GT(memory.Size(text), 0u);
    memory.Free(text);

    void* header = nullptr;
    void* pixels = nullptr;
    const auto getPicture = Bind<SpiGetPicture>(loader_, module_, "GetPicture");
    ASSERT_EQ(getPicture(picture.data(), length, 1, &header, &pixels, nullptr, 0), 0);
    EXPECT_EQ(log_->lastLength, length);
    EXPECT_EQ(log_->lastFlag, 1u);
    ASSERT_GE(memory.Size(header), sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(memory.Size(pixels), 2u * 12u);  // rows of 9 bytes padded to 12
    const auto* bih = static_cast<const BITMAPINFOHEADER*>(memory.Lock(header));
    const auto* bits = static_cast<const uint8_t*>(memory.Lock(pixels));
    ASSERT_TRUE(bih && bits);
    EXPECT_EQ(bih->biWidth, 3);
    EXPECT_EQ(bih->biHeight, 2);
    EXPECT_EQ(bih->biBitCount, 24);
    // Bottom-up BGR: the second row in memory is the top of the picture.
    EXPECT_EQ(std::vector<uint8_t>(bits, bits + 3), (std::vector<uint8_t>{255, 255, 255}));
    EXPECT_EQ(std::vector<uint8_t>(bits + 12, bits + 21), (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0}));
    memory.Unlock(header);
    memory.Unlock(pixels);
    memory.Free(header);
    memory.Free(pixels);

    EXPECT_NE(getPicture("KPIC", 4, 1, &header, &pixels, nullptr, 0), 0);
}

struct ProgressSeen {
    std::vector<std::pair<int32_t, int32_t>> calls;
    int32_t stopAt = -1;
};

int32_t SPI_CALL RecordProgress(int32_t done, int32_t total, intptr_t callerValue) {
    auto* seen = reinterpret_cast<ProgressSeen*>(callerValue);
    seen->calls.emplace_back(done, total);
    return done == seen->stopAt ? 1 : 0;
}

TEST_F(SpiCallTest, ProgressCallbackReceivesTheCallerValueAndCanStop) {
    Open(L"progress", L"progress.spi");
    const auto getPicture = Bind<SpiGetPicture>(loader_, module_, "GetPicture");
    const std::string picture = testing::KpicFilled(2, 4, {9, 9, 9});
    const auto length = static_cast<int32_t>(picture.size());
    void* header = nullptr;
    void* pixels = nullptr;

    ProgressSeen all;
    ASSERT_EQ(getPicture(picture.data(), length, 1, &header, &pixels, &RecordProgress, reinterpret_cast<intptr_t>(&all)), 0);
    EXPECT_EQ(all.calls, (std::vector<std::pair<int32_t, int32_t>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    WinLocalMemory memory;
    memory.Free(header);
    memory.Free(pixels);

    ProgressSeen stopped;
    stopped.stopAt = 1;
    header = pixels = nullptr;
    EXPECT_EQ(getPicture(picture.data(), length, 1, &header, &pixels, &RecordProgress,
                         reinterpret_cast<intptr_t>(&stopped)), 1);
    EXPECT_EQ(stopped.calls.size(), 2u);
    EXPECT_EQ(header, nullptr);
    EXPECT_EQ(pixels, nullptr);
}

}  // namespace
}  // namespace kembo
