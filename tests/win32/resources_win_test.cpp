// The resources of the built KEMBO.EXE, read the way the splash, the version box, the tray and
// the shell read them: the title bitmaps and their masks, the icon, the version block and the
// manifest.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialogs/version_texts.h"
#include "kembo_version.h"
#include "temp_folder.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"
#include "toolkit/version_info_win.h"

namespace kembo {
namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::wstring ProgramPath() { return testing::FolderFromEnvironment(L"KEMBO_DIST") + L"KEMBO.EXE"; }

class ProgramResources : public ::testing::Test {
protected:
    ProgramResources()
        : module_(LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}

    HMODULE Module() const { return module_.Get(); }

    // The bytes of a resource in the given language; empty when it is not there.
    std::vector<uint8_t> Data(const wchar_t* type, const wchar_t* name, WORD language) const {
        HRSRC found = FindResourceExW(Module(), type, name, language);
        if (!found) return {};
        const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(Module(), found)));
        return std::vector<uint8_t>(bytes, bytes + SizeofResource(Module(), found));
    }

private:
    ModuleHandle module_;
};

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

struct TitleBitmap {
    const wchar_t* name;  // as the program asks for it, in lower case
    LONG width;
    WORD bits;
};

TEST_F(ProgramResources, TitleBitmapsHaveTheirSizesAndDepthsInJapanese) {
    ASSERT_TRUE(Module()) << "KEMBO.EXE did not open";
    const TitleBitmap bitmaps[] = {
        {L"title1bmp", 359, 8}, {L"title1bmp_mask", 359, 1}, {L"title2bmp", 360, 8}, {L"title2bmp_mask", 359, 1}};
    for (const TitleBitmap& b : bitmaps) {
        SCOPED_TRACE(Narrow(b.name));
        const std::vector<uint8_t> data = Data(RT_BITMAP, b.name, kJapanese);
        ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, data.data(), sizeof header);
        EXPECT_EQ(header.biWidth, b.width);
        EXPECT_EQ(std::abs(header.biHeight), 180);
        EXPECT_EQ(header.biBitCount, b.bits);
        EXPECT_EQ(header.biClrUsed == 0 ? 1u << b.bits : header.biClrUsed, 1u << b.bits);

        std::vector<WORD> languages;
        EnumResourceLanguagesW(Module(), RT_BITMAP, b.name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{kJapanese});

        // What the splash does with it.
        GdiObject bitmap(LoadBitmapW(Module(), b.name));
        ASSERT_TRUE(bitmap);
        BITMAP info{};
        GetObjectW(bitmap.Get(), sizeof info, &info);
        EXPECT_EQ(info.bmWidth, b.width);
        EXPECT_EQ(info.bmHeight, 180);
    }
}

TEST_F(ProgramResources, OkGlyphIsTwoSquareImagesOf256ColoursOnOlive) {
    const std::vector<uint8_t> data = Data(RT_BITMAP, L"OKGLYPH", kJapanese);
    ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER) + 256 * 4);
    BITMAPINFOHEADER header;
    std::memcpy(&header, data.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 36);
    EXPECT_EQ(header.biHeight, 18);
    EXPECT_EQ(header.biBitCount, 8);
    // Olive, the colour the button leaves transparent, is the ground: the bottom-left pixel.
    const uint8_t* entry = data.data() + header.biSize + 4 * data[header.biSize + 256 * 4];
    EXPECT_EQ(entry[2] << 16 | entry[1] << 8 | entry[0], 0x808000);
}

TEST_F(ProgramResources, MasksAreWhiteEverywhere) {
    for (const wchar_t* name : {L"TITLE1BMP_MASK", L"TITLE2BMP_MASK"}) {
        SCOPED_TRACE(Narrow(name));
        const std::vector<uint8_t> data = Data(RT_BITMAP, name, kJapanese);
        ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER) + 8);
        BITMAPINFOHEADER header;
        std::memcpy(&header, data.data(), sizeof header);
        ASSERT_EQ(header.biBitCount, 1);
        const uint8_t* palette = data.data() + header.biSize;
        EXPECT_EQ(0u, palette[0] | palette[1] | palette[2]) << "bit 0 is black";
        EXPECT_EQ(0xFF, palette[4] & palette[5] & palette[6]) << "bit 1 is white";
        const size_t stride = (static_cast<size_t>(header.biWidth) + 31) / 32 * 4;
        const uint8_t* rows = palette + 8;
        ASSERT_GE(data.size(), static_cast<size_t>(rows - data.data()) + stride * 180);
        size_t black = 0;
        for (LONG y = 0; y < 180; ++y)
            for (LONG x = 0; x < header.biWidth; ++x) black += !(rows[y * stride + x / 8] & (0x80 >> (x % 8)));
        EXPECT_EQ(black, 0u);
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ProgramResources, IconHasEverySizeIn32BitsWithAlpha) {
    const std::vector<uint8_t> group = Data(RT_GROUP_ICON, L"MAINICON", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_GE(group.size(), 6u);
    const WORD count = static_cast<WORD>(group[4] | group[5] << 8);
    ASSERT_EQ(group.size(), 6u + count * sizeof(GroupIconEntry));
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        const int size = entry.width == 0 ? 256 : entry.width;
        SCOPED_TRACE(size);
        sizes.insert(size);
        EXPECT_EQ(entry.bitCount, 32);
        const std::vector<uint8_t> image =
            Data(RT_ICON, MAKEINTRESOURCEW(entry.id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        ASSERT_GE(image.size(), 40u);
        if (std::memcmp(image.data(), "\x89PNG", 4) == 0) {
            EXPECT_EQ(image[25], 6) << "a PNG with an alpha channel";
        } else {
            // A 32-bit image whose alpha is really used: opaque frame, clear corners or shadow.
            BITMAPINFOHEADER header;
            std::memcpy(&header, image.data(), sizeof header);
            ASSERT_EQ(header.biBitCount, 32);
            const size_t pixels = static_cast<size_t>(size) * size;
            ASSERT_GE(image.size(), header.biSize + pixels * 4);
            std::set<int> alphas;
            for (size_t p = 0; p < pixels; ++p) alphas.insert(image[header.biSize + p * 4 + 3]);
            EXPECT_TRUE(alphas.count(255));
            if (size >= 48) {
                EXPECT_GT(alphas.size(), 2u) << "a soft shadow";
            }
        }
        // The system draws it at that size.
        IconHandle icon(static_cast<HICON>(LoadImageW(Module(), L"MAINICON", IMAGE_ICON, size, size, 0)));
        EXPECT_TRUE(icon);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));

    // The version box takes the program file's first icon.
    IconHandle first(ExtractIconW(GetModuleHandleW(nullptr), ProgramPath().c_str(), 0));
    ASSERT_TRUE(first);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(first.Get(), &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXICON));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(ProgramVersion, StringsAndFixedInfoCarryTheOneVersion) {
    const FileVersionInfo version(Narrow(ProgramPath()));
    ASSERT_FALSE(version.Empty());
    const auto string = [&](const char* name) { return version.String("041103A4", name); };
    const VersionStrings strings{string("InternalName"), string("LegalCopyright"), string("FileVersion"),
                                 string("FileDescription")};
    EXPECT_EQ(strings.internalName, "KEMBO");
    EXPECT_EQ(strings.fileVersion, KEMBO_VERSION_TEXT);
    // What the version box makes of them: a first word of the copyright, an end of the
    // description after "for " (read whole, Japanese included).
    ASSERT_TRUE(strings.fileDescription);
    EXPECT_EQ(*strings.fileDescription, "デスクトップの額縁 for Windows");
    const VersionTexts texts = DeriveVersionTexts(strings);
    EXPECT_EQ(texts.copyrightText, "Copyright(C)2026");
    EXPECT_EQ(texts.targetText, "Windows");

    const auto* fixed = version.Value<VS_FIXEDFILEINFO>(L"\\");
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(KEMBO_VERSION_MINOR, KEMBO_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, KEMBO_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    const auto* translation = version.Value<WORD[2]>(L"\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_EQ((*translation)[0], 0x0411);
    EXPECT_EQ((*translation)[1], 932);
}

TEST_F(ProgramResources, ManifestDeclaresTheProgramsVersionStylesAndDpi) {
    const std::vector<uint8_t> data =
        Data(RT_MANIFEST, MAKEINTRESOURCEW(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    const std::string manifest(data.begin(), data.end());
    const std::string quad = std::to_string(KEMBO_VERSION_MAJOR) + "." + std::to_string(KEMBO_VERSION_MINOR) + "." +
                             std::to_string(KEMBO_VERSION_PATCH) + ".0";
    EXPECT_NE(manifest.find("name=\"KEMBO\" version=\"" + quad + "\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

}  // namespace
}  // namespace kembo
