// The import plug-in that ships with the program, loaded from the program folder by the real
// plug-in host: formats, orientation, colour layouts, damaged files, progress and the forms of
// input a Susie host may use.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "near_colour.h"
#include "plugin_host_fixture.h"
#include "test_pictures.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::Blocks;
using testing::Near;  // JPEG is lossy: a colour counts when each channel is within a few steps
using testing::Rgb;
using testing::TestImage;

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

// Susie result codes.
constexpr int kAborted = 1, kUnknownFormat = 2, kBrokenData = 3, kNoMemory = 4;

std::wstring PluginPath() { return testing::FolderFromEnvironment(L"KEMBO_DIST") + L"kembowic.spi"; }

Rgb PixelAt(const TBitmap& bitmap, int x, int y) {
    const Bgr p = bitmap.Pixels().Pixel(x, y);
    return Rgb{p.r, p.g, p.b};
}

// What GetPicture handed out, read from its two blocks, which are then freed.
struct Handed {
    int result = -99;
    int bits = 0;
    int width = 0;
    int height = 0;
    uint32_t colours = 0;
};

// The host fixture with only the shipped plug-in found.
class WicPluginWinTest : public PluginHostWinTest {
protected:
    WicPluginWinTest() { spis.Search(Narrow(PluginPath())); }

    TSPI& Plugin() {
        if (spis.Count() != 1) throw std::runtime_error("the plug-in did not load");
        return spis.Items(0);
    }
    // From memory, under a name.
    const TBitmap& ReadMemory(const std::string& name, const std::string& bytes) {
        memoryBitmap.LoadFromStreamWithName({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, name);
        return memoryBitmap;
    }
    Handed GetPicture(const std::string& bytes, SpiProgressCallback progress = nullptr, intptr_t value = 0) {
        std::string block = bytes;
        if (block.size() < 2048) block.resize(2048, '\0');
        Handed handed;
        void* header = nullptr;
        void* pixels = nullptr;
        handed.result = Plugin().GetPicture(block.data(), static_cast<int32_t>(bytes.size()), 1, &header, &pixels,
                                            progress, value);
        if (handed.result == 0) {
            const auto* info = static_cast<const BITMAPINFOHEADER*>(LocalLock(header));
            handed.bits = info->biBitCount;
            handed.width = info->biWidth;
            handed.height = info->biHeight;
            handed.colours = info->biClrUsed;
            LocalUnlock(header);
            LocalFree(header);
            LocalFree(pixels);
        }
        return handed;
    }

    TSPIBitmap memoryBitmap{files};
};

// Four blocks of 16 × 16, so that JPEG's 8 × 8 cells never mix two colours.
TestImage FourBlocks() { return Blocks(16, 16, {{kRed, kGreen}, {kBlue, kWhite}}); }

void ExpectFourBlocks(const TBitmap& bitmap, int tolerance) {
    ASSERT_EQ(bitmap.Width(), 32);
    ASSERT_EQ(bitmap.Height(), 32);
    EXPECT_TRUE(Near(PixelAt(bitmap, 8, 8), kRed, tolerance));
    EXPECT_TRUE(Near(PixelAt(bitmap, 24, 8), kGreen, tolerance));
    EXPECT_TRUE(Near(PixelAt(bitmap, 8, 24), kBlue, tolerance));
    EXPECT_TRUE(Near(PixelAt(bitmap, 24, 24), kWhite, tolerance));
}

TEST_F(WicPluginWinTest, ListsTheSystemsDecodersAndLeavesBmpAndIconsToTheHost) {
    const TSPI& plugin = Plugin();
    EXPECT_TRUE(plugin.Class().InheritsFrom(TInSPI::StaticClass()));
    EXPECT_EQ(plugin.APIVersion(), "00IN");
    EXPECT_NE(plugin.PluginInfo().find("KEMBO"), std::string::npos) << plugin.PluginInfo();
    std::string all;
    for (const std::string& pattern : plugin.Patterns()) all += pattern + ";";
    for (const char* wanted : {"*.jpg;", "*.jpeg;", "*.png;", "*.gif;", "*.tif;", "*.tiff;"})
        EXPECT_NE(all.find(wanted), std::string::npos) << wanted << " in " << all;
    for (const char* hostsOwn : {"*.bmp;", "*.ico;", "*.dib;"}) EXPECT_EQ(all.find(hostsOwn), std::string::npos) << all;
    EXPECT_EQ(formats.FindExt("jpg"), &TSPIBitmap::StaticClass());
    EXPECT_EQ(formats.FindExt("bmp"), &TBitmap::StaticClass());
}

TEST_F(WicPluginWinTest, ReadsEachFormatFromFileAndFromMemory) {
    struct Case {
        const GUID* container;
        const wchar_t* name;
        int tolerance;
    };
    for (const Case& c : {Case{&GUID_ContainerFormatJpeg, L"a.jpg", 12}, Case{&GUID_ContainerFormatPng, L"a.png", 0},
                          Case{&GUID_ContainerFormatGif, L"a.gif", 0}, Case{&GUID_ContainerFormatTiff, L"a.tif", 0}}) {
        SCOPED_TRACE(Narrow(c.name));
        const std::string bytes = testing::EncodeWic(*c.container, FourBlocks());
        ExpectFourBlocks(Read(WriteFile(c.name, bytes)), c.tolerance);
        ExpectFourBlocks(ReadMemory(Narrow(c.name), bytes), c.tolerance);
    }
    // The content decides, not the name.
    ExpectFourBlocks(Read(WriteFile(L"really a png.jpg", testing::EncodeWic(GUID_ContainerFormatPng, FourBlocks()))),
                     0);
}

TEST_F(WicPluginWinTest, ExifOrientationsStandThePictureUpright) {
    // Stored: red, green over blue, white, 64 × 32. Shown corners for each orientation: top left,
    // top right, bottom left, bottom right.
    const std::string jpeg = testing::EncodeWic(GUID_ContainerFormatJpeg, Blocks(32, 16, {{kRed, kGreen}, {kBlue, kWhite}}));
    const Rgb shown[9][4] = {{},
                             {kRed, kGreen, kBlue, kWhite},  {kGreen, kRed, kWhite, kBlue},
                             {kWhite, kBlue, kGreen, kRed},  {kBlue, kWhite, kRed, kGreen},
                             {kRed, kBlue, kGreen, kWhite},  {kBlue, kRed, kWhite, kGreen},
                             {kWhite, kGreen, kBlue, kRed},  {kGreen, kWhite, kRed, kBlue}};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const TBitmap& bitmap = Read(WriteFile(L"turned.jpg", testing::WithExifOrientation(jpeg, orientation)));
        const bool quarter = orientation >= 5;
        ASSERT_EQ(bitmap.Width(), quarter ? 32 : 64);
        ASSERT_EQ(bitmap.Height(), quarter ? 64 : 32);
        const int right = bitmap.Width() - 4, bottom = bitmap.Height() - 4;
        EXPECT_TRUE(Near(PixelAt(bitmap, 3, 3), shown[orientation][0], 12));
        EXPECT_TRUE(Near(PixelAt(bitmap, right, 3), shown[orientation][1], 12));
        EXPECT_TRUE(Near(PixelAt(bitmap, 3, bottom), shown[orientation][2], 12));
        EXPECT_TRUE(Near(PixelAt(bitmap, right, bottom), shown[orientation][3], 12));
    }
}

TEST_F(WicPluginWinTest, CmykJpegShowsItsColours) {
    // Made with ImageMagick from sRGB: red, lime / blue, white / grey 64, orange (255, 128, 0);
    // stored with inverted inks and Adobe's marker, as most CMYK JPEGs are.
    const std::string bytes = testing::ReadWholeFile(testing::FolderFromEnvironment(L"KEMBO_FIXTURES") + L"pictures\\cmyk.jpg");
    const TBitmap& bitmap = Read(WriteFile(L"cmyk.jpg", bytes));
    ASSERT_EQ(bitmap.Width(), 32);
    ASSERT_EQ(bitmap.Height(), 48);
    EXPECT_TRUE(Near(PixelAt(bitmap, 8, 8), kRed, 8));
    EXPECT_TRUE(Near(PixelAt(bitmap, 24, 8), kGreen, 8));
    EXPECT_TRUE(Near(PixelAt(bitmap, 8, 24), kBlue, 8));
    EXPECT_TRUE(Near(PixelAt(bitmap, 24, 24), kWhite, 8));
    EXPECT_TRUE(Near(PixelAt(bitmap, 8, 40), Rgb{64, 64, 64}, 8));
    EXPECT_TRUE(Near(PixelAt(bitmap, 24, 40), Rgb{255, 128, 0}, 8));
}

TEST_F(WicPluginWinTest, SixteenBitChannelsAreRoundedAndAlphaLaidOverWhite) {
    using testing::BigEndian16;
    // 0x12F0 / 257 = 18.9 and 0x00C0 / 257 = 0.75: rounding gives 19 and 1 where cutting gives 18 and 0.
    const std::string rgb = BigEndian16(0x12F0) + BigEndian16(0x00C0) + BigEndian16(0xFFFF) + BigEndian16(0x807F) +
                            BigEndian16(0x0000) + BigEndian16(0x7FFF);
    const TBitmap& colour = Read(WriteFile(L"deep.png", testing::PngFile(2, 1, 16, 2, {rgb})));
    EXPECT_EQ(PixelAt(colour, 0, 0), (Rgb{19, 1, 255}));
    EXPECT_EQ(PixelAt(colour, 1, 0), (Rgb{128, 0, 127}));

    const TBitmap& grey =
        Read(WriteFile(L"grey16.png", testing::PngFile(2, 1, 16, 0, {BigEndian16(0x12F0) + BigEndian16(0xFFFF)})));
    EXPECT_EQ(PixelAt(grey, 0, 0), (Rgb{19, 19, 19}));
    EXPECT_EQ(PixelAt(grey, 1, 0), (Rgb{255, 255, 255}));

    // Black at half opacity over white: mid grey; fully transparent: white.
    const std::string rgba = BigEndian16(0) + BigEndian16(0) + BigEndian16(0) + BigEndian16(0x8000) +
                             BigEndian16(0) + BigEndian16(0xFFFF) + BigEndian16(0) + BigEndian16(0);
    const TBitmap& clear = Read(WriteFile(L"alpha16.png", testing::PngFile(2, 1, 16, 6, {rgba})));
    EXPECT_EQ(PixelAt(clear, 0, 0), (Rgb{127, 127, 127}));
    EXPECT_EQ(PixelAt(clear, 1, 0), kWhite);
    const std::string rgba8 = std::string("\xFF\x00\x00\x80\x00\x00\xFF\xFF", 8);
    EXPECT_EQ(PixelAt(Read(WriteFile(L"alpha8.png", testing::PngFile(2, 1, 8, 6, {rgba8}))), 0, 0),
              (Rgb{255, 127, 127}));
}

TEST_F(WicPluginWinTest, PaletteAndGreyPicturesAreExactInEightBits) {
    // Three colours, the second half transparent and the third fully: laid over white.
    const std::string palette = std::string("\x10\x20\x30\x00\x00\x00\xFF\x00\x00", 9);
    const std::string indexed = testing::PngFile(3, 1, 8, 3, {std::string("\x00\x01\x02", 3)}, palette, std::string("\xFF\x80\x00", 3));
    const TBitmap& colours = Read(WriteFile(L"palette.png", indexed));
    EXPECT_EQ(PixelAt(colours, 0, 0), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(PixelAt(colours, 1, 0), (Rgb{127, 127, 127}));
    EXPECT_EQ(PixelAt(colours, 2, 0), kWhite);
    const Handed fromPalette = GetPicture(indexed);
    EXPECT_EQ(fromPalette.result, 0);
    EXPECT_EQ(fromPalette.bits, 8);

    // Two bits of grey: levels 0, 85, 170, 255.
    const std::string grey2 = testing::PngFile(4, 1, 2, 0, {std::string("\x1B", 1)});
    const TBitmap& grey = Read(WriteFile(L"grey2.png", grey2));
    EXPECT_EQ(PixelAt(grey, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(grey, 1, 0), (Rgb{85, 85, 85}));
    EXPECT_EQ(PixelAt(grey, 2, 0), (Rgb{170, 170, 170}));
    EXPECT_EQ(PixelAt(grey, 3, 0), kWhite);
    const Handed fromGrey = GetPicture(testing::PngFile(2, 1, 8, 0, {std::string("\x07\xF0", 2)}));
    EXPECT_EQ(fromGrey.bits, 8);
    EXPECT_EQ(fromGrey.colours, 256u);
    EXPECT_EQ(GetPicture(testing::EncodeWic(GUID_ContainerFormatPng, FourBlocks())).bits, 24);
}

TEST_F(WicPluginWinTest, AnimatedGifShowsItsFirstFrame) {
    const std::string gif = testing::EncodeWic(GUID_ContainerFormatGif, FourBlocks(), 3);
    ExpectFourBlocks(Read(WriteFile(L"moving.gif", gif)), 0);
}

TEST_F(WicPluginWinTest, DamagedFilesGiveErrorCodesAndReadNothing) {
    for (const GUID* container : {&GUID_ContainerFormatJpeg, &GUID_ContainerFormatPng, &GUID_ContainerFormatGif,
                                  &GUID_ContainerFormatTiff}) {
        const std::string whole = testing::EncodeWic(*container, FourBlocks());
        SCOPED_TRACE(whole.substr(0, 4));
        EXPECT_EQ(GetPicture(whole.substr(0, whole.size() / 2)).result, kBrokenData);
        if (container != &GUID_ContainerFormatTiff) {
            EXPECT_EQ(GetPicture(whole.substr(0, whole.size() - 2)).result, kBrokenData);
        }
        EXPECT_THROW(Read(WriteFile(L"cut.png", whole.substr(0, whole.size() / 2))), PictureError);
    }
    EXPECT_EQ(GetPicture(std::string(4096, '\0')).result, kUnknownFormat);
    EXPECT_EQ(GetPicture("").result, kUnknownFormat);
    EXPECT_EQ(GetPicture("just some words, no picture").result, kUnknownFormat);
    EXPECT_EQ(Plugin().IsSupported("zero.jpg", std::string(2048, '\0').data()), 0);
    EXPECT_THROW(Read(WriteFile(L"empty.jpg", "")), PictureError);

    // A header declaring 100000 × 100000 pixels is refused before anything is allocated for it.
    std::string huge = testing::PngFile(1, 1, 8, 0, {std::string(1, '\0')});
    huge.replace(16, 8, std::string("\x00\x01\x86\xA0\x00\x01\x86\xA0", 8));
    EXPECT_EQ(GetPicture(huge).result, kNoMemory);
    // A picture the host could not hold either: 20000 × 20000 at 24 bits is beyond its store.
    huge.replace(16, 8, std::string("\x00\x00\x4E\x20\x00\x00\x4E\x20", 8));
    EXPECT_EQ(GetPicture(huge).result, kNoMemory);
}

struct Calls {
    std::vector<std::pair<int, int>> seen;
    int stopAt = -1;
};

int __stdcall Record(int32_t done, int32_t total, intptr_t value) {
    auto* calls = reinterpret_cast<Calls*>(value);
    calls->seen.emplace_back(done, total);
    return calls->stopAt >= 0 && static_cast<int>(calls->seen.size()) > calls->stopAt ? 1 : 0;
}

TEST_F(WicPluginWinTest, ProgressRunsFromZeroToAHundredAndStopsWhenAsked) {
    // 3 MiB of pixels: decoded in several bands.
    const std::string bytes = testing::EncodeWic(GUID_ContainerFormatPng, Blocks(512, 512, {{kRed, kGreen}, {kBlue, kWhite}}));
    Calls calls;
    ASSERT_EQ(GetPicture(bytes, &Record, reinterpret_cast<intptr_t>(&calls)).result, 0);
    ASSERT_GE(calls.seen.size(), 3u);
    EXPECT_EQ(calls.seen.front(), (std::pair<int, int>{0, 100}));
    EXPECT_EQ(calls.seen.back(), (std::pair<int, int>{100, 100}));
    for (std::size_t i = 1; i < calls.seen.size(); ++i) EXPECT_GT(calls.seen[i].first, calls.seen[i - 1].first);

    for (const int stopAt : {0, 1}) {
        Calls stopping;
        stopping.stopAt = stopAt;
        EXPECT_EQ(GetPicture(bytes, &Record, reinterpret_cast<intptr_t>(&stopping)).result, kAborted);
        EXPECT_EQ(static_cast<int>(stopping.seen.size()), stopAt + 1);
    }
}

// The forms of a call a Susie host may use beside memory: an open file handle for IsSupported, a
// file name with the offset of the picture for the other two.
TEST_F(WicPluginWinTest, FileHandleAndFileNameInput) {
    const HMODULE library = LoadLibraryW(PluginPath().c_str());
    ASSERT_NE(library, nullptr);
    const auto isSupported = reinterpret_cast<SpiIsSupported>(reinterpret_cast<void (*)()>(GetProcAddress(library, "IsSupported")));
    const auto getInfo = reinterpret_cast<SpiGetPictureInfo>(reinterpret_cast<void (*)()>(GetProcAddress(library, "GetPictureInfo")));
    ASSERT_TRUE(isSupported && getInfo);

    const std::string png = testing::EncodeWic(GUID_ContainerFormatPng, FourBlocks());
    const std::string path = WriteFile(L"inside.dat", std::string(100, 'x') + png);
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(isSupported("inside.dat", reinterpret_cast<const void*>(file)), 0);  // junk first
    SetFilePointer(file, 100, nullptr, FILE_BEGIN);
    EXPECT_NE(isSupported("inside.dat", reinterpret_cast<const void*>(file)), 0);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 100u);  // put back
    CloseHandle(file);

    SpiPictureInfo info{};
    const std::string ansiPath = WinAnsiCodec().ToAnsi(path);
    EXPECT_EQ(getInfo(ansiPath.c_str(), 100, 0, &info), 0);
    EXPECT_EQ(+info.width, 32);
    EXPECT_EQ(+info.height, 32);
    EXPECT_EQ(+info.colorDepth, 24);
    EXPECT_EQ(+info.infoText, 0u);
    EXPECT_EQ(getInfo(ansiPath.c_str(), 0, 0, &info), kUnknownFormat);
    EXPECT_EQ(getInfo((ansiPath + ".missing").c_str(), 0, 0, &info), 6);
    FreeLibrary(library);
}

// The plug-in initialises COM for each call and undoes it: the host's own OLE stays as it was, and
// a thread without COM is left without it.
TEST_F(WicPluginWinTest, LeavesTheHostsComAsItFoundIt) {
    const std::string png = testing::EncodeWic(GUID_ContainerFormatPng, FourBlocks());  // initialises COM itself
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    ExpectFourBlocks(ReadMemory("a.png", png), 0);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);  // still initialised
    CoUninitialize();
    OleUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);  // nothing left behind
    CoUninitialize();
}

}  // namespace
}  // namespace kembo
