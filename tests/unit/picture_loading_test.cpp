// The picture-format registry, the picture holder and the folder listing.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "fake_file_system.h"
#include "image/bmp_writer.h"
#include "loading/bitmap.h"
#include "loading/icon.h"
#include "loading/metafile.h"
#include "loading/picture.h"
#include "loading/picture_formats.h"

namespace kembo {
namespace {

using test::FakeFileSystem;

// A class derived from the bitmap, as a plug-in reader would be, and an unrelated one.
class DerivedBitmap : public TBitmap {
public:
    using TBitmap::TBitmap;
    static const PictureClass& StaticClass() {
        static const PictureClass cls("Derived", &TBitmap::StaticClass(),
                                      [](FileSystem& f) { return std::make_unique<DerivedBitmap>(f); });
        return cls;
    }
    const PictureClass& Class() const override { return StaticClass(); }
};

const PictureClass& OtherClass() {
    static const PictureClass cls("Other", nullptr, [](FileSystem& f) { return std::make_unique<TIcon>(f); });
    return cls;
}

std::vector<uint8_t> SmallBmp(int w, int h, Bgr colour) {
    PixelBuffer pixels(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels.SetPixel(x, y, colour);
    return WriteBmp24(pixels);
}

TEST(PictureFormatsTest, BuiltInFormatsInOrderAndFoundInAnyCase) {
    PictureFormats formats;
    ASSERT_EQ(formats.Entries().size(), 4u);
    EXPECT_EQ(formats.Entries()[0].extension, "wmf");
    EXPECT_EQ(formats.Entries()[1].extension, "emf");
    EXPECT_EQ(formats.Entries()[2].extension, "ico");
    EXPECT_EQ(formats.Entries()[3].extension, "bmp");
    EXPECT_EQ(formats.Entries()[3].description, "ビットマップ");
    EXPECT_EQ(formats.FindExt("BMP"), &TBitmap::StaticClass());
    EXPECT_EQ(formats.FindExt("Emf"), &TMetafile::StaticClass());
    EXPECT_EQ(formats.FindExt("ico"), &TIcon::StaticClass());
    EXPECT_EQ(formats.FindExt("jpg"), nullptr);
    EXPECT_EQ(formats.FindExt(".bmp"), nullptr);  // callers drop the dot
}

TEST(PictureFormatsTest, NewestEntryWinsAndUnregisterUncoversOlderOnes) {
    PictureFormats formats;
    formats.RegisterFileFormat("BMP", "plug-in", DerivedBitmap::StaticClass());
    formats.RegisterFileFormat("JPG", "plug-in", DerivedBitmap::StaticClass());
    formats.RegisterFileFormat("jpg", "other", OtherClass());
    EXPECT_EQ(formats.Entries()[4].extension, "bmp");  // stored lower-cased
    EXPECT_EQ(formats.FindExt("bmp"), &DerivedBitmap::StaticClass());
    EXPECT_EQ(formats.FindExt("jpg"), &OtherClass());

    formats.UnregisterGraphicClass(DerivedBitmap::StaticClass());
    EXPECT_EQ(formats.FindExt("bmp"), &TBitmap::StaticClass());
    EXPECT_EQ(formats.FindExt("jpg"), &OtherClass());
    EXPECT_EQ(formats.Entries().size(), 5u);

    // Unregistering a base class takes the derived ones with it.
    formats.RegisterFileFormat("pic", "plug-in", DerivedBitmap::StaticClass());
    formats.UnregisterGraphicClass(TBitmap::StaticClass());
    EXPECT_EQ(formats.FindExt("bmp"), nullptr);
    EXPECT_EQ(formats.FindExt("pic"), nullptr);
    EXPECT_EQ(formats.FindExt("wmf"), &TMetafile::StaticClass());
}

TEST(PictureFormatsTest, OddExtensionsAreKeptAsGiven) {
    PictureFormats formats;
    formats.RegisterFileFormat("*", "all", OtherClass());
    formats.RegisterFileFormat("tar.gz", "two dots", OtherClass());
    EXPECT_EQ(formats.FindExt("*"), &OtherClass());
    EXPECT_EQ(formats.FindExt("TAR.GZ"), &OtherClass());
    EXPECT_EQ(formats.FindExt("gz"), nullptr);
}

class PictureTest : public ::testing::Test {
protected:
    PictureFormats formats_;
    FakeFileSystem files_;
    TPicture picture_{formats_, files_};
};

TEST_F(PictureTest, LoadsByExtensionInAnyCase) {
    files_.files["C:\\p\\photo.BMP"] = SmallBmp(3, 2, Bgr{1, 2, 3});
    int changes = 0;
    picture_.OnChange = [&] { ++changes; };
    picture_.LoadFromFile("C:\\p\\photo.BMP");
    ASSERT_NE(dynamic_cast<TBitmap*>(picture_.Graphic()), nullptr);
    EXPECT_EQ(picture_.Width(), 3);
    EXPECT_EQ(picture_.Height(), 2);
    EXPECT_EQ(static_cast<TBitmap*>(picture_.Graphic())->Pixels().Pixel(2, 1), (Bgr{1, 2, 3}));
    EXPECT_EQ(changes, 1);
}

TEST_F(PictureTest, UnknownExtensionsAreRefusedWithTheirName) {
    files_.files["C:\\p\\photo.jpg"] = SmallBmp(1, 1, Bgr{});  // content is never sniffed
    files_.files["C:\\photos.old\\file"] = SmallBmp(1, 1, Bgr{});
    for (const auto& [name, message] : std::vector<std::pair<std::string, std::string>>{
             {"C:\\p\\photo.jpg", "拡張子 .jpg の画像形式は処理できません"},
             {"C:\\photos.old\\file", "拡張子 . の画像形式は処理できません"},
             {"", "拡張子 . の画像形式は処理できません"}}) {
        try {
            picture_.LoadFromFile(name);
            ADD_FAILURE() << name;
        } catch (const PictureError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

TEST_F(PictureTest, FailedLoadKeepsThePreviousPicture) {
    files_.files["a.bmp"] = SmallBmp(5, 4, Bgr{9, 9, 9});
    files_.files["broken.bmp"] = {'B', 'M', 0, 0};
    files_.files["broken.ico"] = {0, 0, 1, 0, 0, 0};
    picture_.LoadFromFile("a.bmp");
    TGraphic* before = picture_.Graphic();
    int changes = 0;
    picture_.OnChange = [&] { ++changes; };
    EXPECT_THROW(picture_.LoadFromFile("broken.bmp"), PictureError);
    EXPECT_THROW(picture_.LoadFromFile("broken.ico"), PictureError);
    EXPECT_THROW(picture_.LoadFromFile("missing.bmp"), Error);
    EXPECT_EQ(picture_.Graphic(), before);
    EXPECT_EQ(picture_.Width(), 5);
    EXPECT_EQ(picture_.Height(), 4);
    EXPECT_EQ(changes, 0);
}

TEST_F(PictureTest, ProgressOfThePictureReachesTheHolder) {
    // A picture class whose reading reports progress, as the plug-in reader does.
    class Reporting : public TBitmap {
    public:
        using TBitmap::TBitmap;
        void LoadFromStream(std::span<const uint8_t> data) override {
            TBitmap::LoadFromStream(data);
            Progress(ProgressStage::Starting, 0, false);
            Progress(ProgressStage::Ending, 100, true);
        }
    };
    static const PictureClass reporting("Reporting", &TBitmap::StaticClass(),
                                        [](FileSystem& f) { return std::make_unique<Reporting>(f); });
    formats_.RegisterFileFormat("rep", "", reporting);
    files_.files["x.rep"] = SmallBmp(7, 3, Bgr{});
    std::vector<ProgressInfo> seen;
    picture_.OnProgress = [&](TGraphic&, const ProgressInfo& info) { seen.push_back(info); };
    picture_.LoadFromFile("x.rep");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].stage, ProgressStage::Ending);
    EXPECT_EQ(seen[1].percent, 100);
    EXPECT_EQ(seen[1].rect, (Rect{0, 0, 7, 3}));
    EXPECT_TRUE(seen[1].message.empty());
}

std::vector<uint8_t> IconFile(uint8_t w, uint8_t h, uint32_t imageSize) {
    std::vector<uint8_t> d = {0, 0, 1, 0, 1, 0, w, h, 0, 0, 1, 0, 32, 0};
    for (int i = 0; i < 4; ++i) d.push_back(static_cast<uint8_t>(imageSize >> (8 * i)));
    d.insert(d.end(), {22, 0, 0, 0});
    d.resize(22 + imageSize, 0);
    return d;
}

TEST(IconTest, SizeFromTheFirstImageAndBrokenDirectoriesRefused) {
    FakeFileSystem files;
    TIcon icon(files);
    icon.LoadFromStream(IconFile(0, 48, 200));
    EXPECT_EQ(icon.Width(), 256);
    EXPECT_EQ(icon.Height(), 48);
    auto truncated = IconFile(16, 16, 200);
    truncated.resize(150);
    EXPECT_THROW(icon.LoadFromStream(truncated), PictureError);
    auto cursor = IconFile(16, 16, 200);
    cursor[2] = 2;
    EXPECT_THROW(icon.LoadFromStream(cursor), PictureError);
    EXPECT_EQ(icon.Width(), 256);  // unchanged by the failures
}

TEST(MetafileTest, PlaceableHeaderGivesTheSizeAtScreenResolution) {
    // Placeable header: key, handle, box (0, 0)-(1440, 720), 1440 units per inch, checksum.
    std::vector<uint8_t> d = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0xA0, 0x05, 0xD0, 0x02,
                              0xA0, 0x05, 0, 0, 0, 0};
    uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(d[i] | (d[i + 1] << 8));
    d.push_back(static_cast<uint8_t>(sum));
    d.push_back(static_cast<uint8_t>(sum >> 8));
    const std::vector<uint8_t> header = {1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    d.insert(d.end(), header.begin(), header.end());
    FakeFileSystem files;
    TMetafile metafile(files);
    metafile.LoadFromStream(d);
    EXPECT_FALSE(metafile.Enhanced());
    EXPECT_EQ(metafile.Width(), 96);
    EXPECT_EQ(metafile.Height(), 48);
    d[20] ^= 1;  // checksum broken
    EXPECT_THROW(metafile.LoadFromStream(d), PictureError);
    EXPECT_THROW(metafile.LoadFromStream(std::vector<uint8_t>(100, 0)), PictureError);
}

TEST(ListFolderFilesTest, FilesOnlyInTheFileSystemsOrderAppended) {
    FakeFileSystem files;
    files.AddFile("C:\\pics\\", "z.bmp");
    files.folders["C:\\pics\\"].push_back({".", true});
    files.folders["C:\\pics\\"].push_back({"sub", true});
    files.AddFile("C:\\pics\\", "a.txt");
    std::vector<std::string> list = {"kept"};
    ListFolderFiles(files, "C:\\pics", list);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "C:\\pics\\z.bmp", "C:\\pics\\a.txt"}));
    ListFolderFiles(files, "C:\\pics\\", list);  // a trailing separator is not doubled
    EXPECT_EQ(files.listed.back(), "C:\\pics\\*.*");
    EXPECT_EQ(list.size(), 5u);

    files.AddFile("\\", "root.bmp");
    list.clear();
    ListFolderFiles(files, "", list);
    EXPECT_EQ(files.listed.back(), "\\*.*");
    EXPECT_EQ(list, (std::vector<std::string>{"C:\\root.bmp"}));

    list.clear();
    ListFolderFiles(files, "C:\\missing", list);
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace kembo
