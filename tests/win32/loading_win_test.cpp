// Picture files on the real system: the folder listing, and icons and metafiles that the
// platform itself accepts and draws.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "base/errors.h"
#include "loading/file_system.h"
#include "loading/icon.h"
#include "loading/metafile.h"
#include "loading/picture.h"
#include "loading/picture_formats.h"
#include "temp_folder.h"
#include "toolkit/draw_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::TempFolder;
using testing::WriteWholeFile;

// A 24-bit top-down DIB section selected into a memory DC, for reading back what was drawn.
class Canvas {
public:
    Canvas(int w, int h) : w_(w) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, w, h};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint8_t* p = bits_ + static_cast<size_t>(y) * ((w_ * 3 + 3) & ~3) + x * 3;
        return RGB(p[2], p[1], p[0]);
    }

private:
    int w_;
    uint8_t* bits_ = nullptr;
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ old_;
};

TEST(ListFolderFilesWinTest, ListsHiddenFilesButNoFolders) {
    TempFolder folder;
    WriteWholeFile(folder.File(L"a.bmp"), "x");
    WriteWholeFile(folder.File(L"b.txt"), "y");
    SetFileAttributesW(folder.File(L"b.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW(folder.File(L"c").c_str(), nullptr);
    WinFileSystem files;
    std::vector<std::string> list;
    ListFolderFiles(files, Narrow(folder.Path()), list);
    std::sort(list.begin(), list.end());  // the order is the file system's: compare as a set
    EXPECT_EQ(list, (std::vector<std::string>{Narrow(folder.File(L"a.bmp")), Narrow(folder.File(L"b.txt"))}));

    // A relative folder is made absolute against the current folder.
    SetCurrentDirectoryW(folder.Path().c_str());
    list.clear();
    ListFolderFiles(files, "c", list);
    EXPECT_TRUE(list.empty());
    ListFolderFiles(files, ".", list);
    EXPECT_EQ(list.size(), 2u);
    for (const auto& path : list) EXPECT_EQ(path.rfind(Narrow(folder.Path()), 0), 0u) << path;

    // The empty text lists the root of the current drive: absolute paths, no folders.
    list.clear();
    ListFolderFiles(files, "", list);
    for (const auto& path : list) {
        EXPECT_EQ(path.substr(1, 2), ":\\") << path;
        EXPECT_FALSE(GetFileAttributesW(Wide(path).c_str()) & FILE_ATTRIBUTE_DIRECTORY) << path;
    }
    SetCurrentDirectoryW(L"C:\\");
}

TEST(FileSystemWinTest, ReadsAndStampsWholeFilesAndRefusesMissingOrHugeOnes) {
    TempFolder folder;
    WriteWholeFile(folder.File(L"data.bin"), std::string(100000, 'k'));
    WinFileSystem files;
    const std::string data = Narrow(folder.File(L"data.bin"));
    EXPECT_EQ(files.ReadWholeFile(data, 1 << 20).size(), 100000u);
    EXPECT_THROW(files.ReadWholeFile(data, 1000), Error);
    EXPECT_THROW(files.ReadWholeFile(Narrow(folder.File(L"none.bin")), 1000), Error);
    EXPECT_TRUE(files.FileExists(data));
    EXPECT_FALSE(files.FileExists(Narrow(folder.Path())));

    // Size and last-write time (a time beyond 32 bits); nothing for a folder or a missing file.
    const uint64_t time = 0x01DB'1234'5678'9ABCull;
    testing::SetLastWriteTime(folder.File(L"data.bin"), time);
    EXPECT_EQ(files.FileStamp(data), (FileSystem::Stamp{100000, time}));
    WriteWholeFile(folder.File(L"data.bin"), std::string(100001, 'k'));
    testing::SetLastWriteTime(folder.File(L"data.bin"), time);
    EXPECT_EQ(files.FileStamp(data), (FileSystem::Stamp{100001, time}));
    EXPECT_FALSE(files.FileStamp(Narrow(folder.Path())));
    EXPECT_FALSE(files.FileStamp(Narrow(folder.File(L"none.bin"))));
}

// A 16 × 16 icon of one colour, 32 bits per pixel with its AND mask.
std::vector<uint8_t> RedIcon() {
    std::vector<uint8_t> image(40 + 16 * 16 * 4 + 16 * 4, 0);
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 16, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    memcpy(image.data(), &header, sizeof header);
    for (int i = 0; i < 256; ++i) {
        uint8_t* p = image.data() + 40 + i * 4;
        p[2] = 0xFF;  // red
        p[3] = 0xFF;  // opaque
    }
    std::vector<uint8_t> file = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    const uint32_t size = static_cast<uint32_t>(image.size());
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(size >> (8 * i)));
    file.insert(file.end(), {22, 0, 0, 0});
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::vector<uint8_t> BlueEnhancedMetafile() {
    RECT frame{0, 0, 2540, 1270};  // 1 × 0.5 inch
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT r{0, 0, 96, 48};
    FillRect(dc, &r, blue);
    DeleteObject(blue);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<uint8_t> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(emf);
    return bytes;
}

std::vector<uint8_t> GreenPlaceableMetafile() {
    HDC dc = CreateMetaFileW(nullptr);
    SetWindowExtEx(dc, 100, 100, nullptr);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(dc, green);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, 0, 101, 101);
    HMETAFILE wmf = CloseMetaFile(dc);
    DeleteObject(green);
    std::vector<uint8_t> records(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(records.size()), records.data());
    DeleteMetaFile(wmf);
    // Placeable header: box (0, 0)-(100, 100) at 100 units per inch.
    std::vector<uint8_t> file = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 100, 0, 100, 0, 100, 0, 0, 0, 0, 0};
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(file[i] | (file[i + 1] << 8));
    file.push_back(static_cast<uint8_t>(sum));
    file.push_back(static_cast<uint8_t>(sum >> 8));
    file.insert(file.end(), records.begin(), records.end());
    return file;
}

TEST(GraphicDrawWinTest, IconsAndMetafilesLoadAndThePlatformDrawsThem) {
    TempFolder folder;
    WriteWholeFile(folder.File(L"red.ICO"), std::string(reinterpret_cast<const char*>(RedIcon().data()), RedIcon().size()));
    const auto emf = BlueEnhancedMetafile();
    WriteWholeFile(folder.File(L"blue.emf"), std::string(emf.begin(), emf.end()));
    const auto wmf = GreenPlaceableMetafile();
    WriteWholeFile(folder.File(L"green.wmf"), std::string(wmf.begin(), wmf.end()));

    WinFileSystem files;
    PictureFormats formats;
    TPicture picture(formats, files);
    struct Case {
        const wchar_t* name;
        int width, height;
        COLORREF colour;
    };
    for (const Case& c : {Case{L"red.ICO", 16, 16, RGB(255, 0, 0)}, Case{L"blue.emf", 96, 48, RGB(0, 0, 255)},
                          Case{L"green.wmf", 96, 96, RGB(0, 255, 0)}}) {
        picture.LoadFromFile(Narrow(folder.File(c.name)));
        EXPECT_EQ(picture.Width(), c.width) << Narrow(c.name);
        EXPECT_EQ(picture.Height(), c.height) << Narrow(c.name);
        Canvas canvas(40, 40);
        RECT dest{4, 4, 36, 36};
        DrawGraphic(canvas.Dc(), dest, *picture.Graphic());
        EXPECT_EQ(canvas.At(20, 20), c.colour) << Narrow(c.name);
        EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 255)) << Narrow(c.name);
        // The same through a bitmap of its own, as the display-range window builds its image.
        const PixelBuffer rendered = RenderGraphic(*picture.Graphic(), 21, 9);
        EXPECT_EQ(ToColor(rendered.Pixel(10, 4)), c.colour) << Narrow(c.name);
    }
}

TEST(GraphicDrawWinTest, PixelBuffersDrawUnscaledAndStretched) {
    PixelBuffer pixels(3, 2);
    pixels.SetPixel(0, 0, Bgr{0, 0, 255});
    pixels.SetPixel(2, 1, Bgr{255, 0, 0});
    Canvas canvas(10, 10);
    DrawPixels(canvas.Dc(), 1, 1, pixels);
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(3, 2), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(2, 1), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(4, 1), RGB(255, 255, 255));
    Canvas wide(12, 8);
    StretchDrawPixels(wide.Dc(), RECT{0, 0, 12, 8}, pixels);  // 4× each way
    EXPECT_EQ(wide.At(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(wide.At(8, 4), RGB(0, 0, 255));
    EXPECT_EQ(wide.At(11, 7), RGB(0, 0, 255));
}

}  // namespace
}  // namespace kembo
