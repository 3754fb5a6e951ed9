// Picture composition: the display rectangle, fit and own-size copies, margins, brightness, and
// what a failed composition leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "base/errors.h"
#include "fake_file_system.h"
#include "image/bmp_writer.h"
#include "loading/bitmap.h"
#include "loading/picture_formats.h"
#include "test_pictures.h"
#include "window/composition.h"

namespace kembo {
namespace {

using test::FakeFileSystem;
using test::Noise;
using test::Pattern;

constexpr Color kMargin = 0x00123456;  // blue 0x12, green 0x34, red 0x56
constexpr Bgr kMarginPixel{0x12, 0x34, 0x56};

uint8_t Scaled(uint8_t v, int64_t percent) {
    return static_cast<uint8_t>(std::min<int64_t>(std::max<int64_t>(percent, 0) * v / 100, 255));
}
Bgr Scaled(Bgr p, int64_t percent) { return Bgr{Scaled(p.b, percent), Scaled(p.g, percent), Scaled(p.r, percent)}; }

CompositionParams Params(int32_t scalingType, int32_t brightness = 100, Rect r = Rect{-1, -1, -1, -1}) {
    return CompositionParams{r.left, r.top, r.right, r.bottom, scalingType, brightness, kMargin};
}

PixelBuffer ComposeInto(int32_t w, int32_t h, const PixelBuffer& picture, const CompositionParams& params) {
    PixelBuffer work = Pattern(w, h, 99);  // composition must overwrite every pixel
    ComposePixels(picture, work, params);
    return work;
}

TEST(NormaliseDisplayRect, EdgesDefaultedSwappedAndCut) {
    struct Case {
        Rect in, out;
    };
    const Case cases[] = {
        {{-1, -1, -1, -1}, {0, 0, 640, 480}},
        {{300, 200, 100, 50}, {100, 50, 300, 200}},
        {{0, 0, 5000, 480}, {0, 0, 640, 480}},
        {{-7, 10, 5000, -3}, {0, 10, 640, 480}},
        {{5000, 0, 100, 50}, {100, 0, 640, 50}},    // swapped first, then cut
        {{INT32_MIN, 0, INT32_MAX, 1}, {0, 0, 640, 1}},
        {{20, 30, 20, 30}, {20, 30, 20, 30}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormaliseDisplayRect(c.in.left, c.in.top, c.in.right, c.in.bottom, 640, 480), c.out)
            << c.in.left << "," << c.in.top << "," << c.in.right << "," << c.in.bottom;
    }
    // Wholly outside the picture: nothing guards it, and what is left selects no pixel.
    for (const Rect& r : {Rect{700, 0, 800, 100}, Rect{0, 500, 100, 600}, Rect{700, 0, -1, -1}}) {
        EXPECT_TRUE(NormaliseDisplayRect(r.left, r.top, r.right, r.bottom, 640, 480).Empty());
    }
}

TEST(ComposePixels, RectangleOutsideThePictureShowsOnlyTheMargin) {
    const PixelBuffer picture = Pattern(64, 48, 1);
    for (int32_t scaling : {0, 1}) {
        for (const Rect& r : {Rect{700, 0, 800, 10}, Rect{0, 48, 10, 60}, Rect{64, -1, -1, -1}}) {
            const PixelBuffer work = ComposeInto(9, 7, picture, Params(scaling, 100, r));
            for (int32_t y = 0; y < 7; ++y)
                for (int32_t x = 0; x < 9; ++x) ASSERT_EQ(work.Pixel(x, y), kMarginPixel) << scaling << " " << x << "," << y;
        }
    }
}

TEST(ComposePixels, FitStretchesEachAxisOnItsOwn) {
    // A 2 x 2 picture over a 4 x 6 target: 2x across, 3x down.
    const PixelBuffer square = Pattern(2, 2, 5);
    const PixelBuffer tall = ComposeInto(4, 6, square, Params(1));
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(tall.Pixel(x, y), square.Pixel(x / 2, y / 3)) << x << "," << y;

    // Part of a picture, shrunk: columns 1, 3, 5 of (0..6) and the rows under the centres.
    const PixelBuffer picture = Pattern(8, 5, 6);
    const PixelBuffer shrunk = ComposeInto(3, 2, picture, Params(7, 100, Rect{0, 1, 6, 5}));
    const int32_t columns[] = {1, 3, 5}, rows[] = {2, 4};
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(shrunk.Pixel(x, y), picture.Pixel(columns[x], rows[y]));
}

// The fast paths of the stretch (4-byte moves, blocks of neighbours, repeated rows, the
// brightness applied per row) against the pixel under each destination centre, scaled.
TEST(ComposePixels, FitTakesThePixelUnderEachCentreForAnyShape) {
    struct Shape {
        int32_t pw, ph;  // picture
        Rect r;
        int32_t tw, th;  // target
    };
    const Shape shapes[] = {
        {40, 30, {-1, -1, -1, -1}, 21, 16},  // shrink, last column and row sampled
        {40, 30, {-1, -1, -1, -1}, 39, 30},  // one column less: blocks of neighbours
        {40, 30, {-1, -1, -1, -1}, 40, 30},  // 1:1
        {40, 30, {3, 2, 36, 29}, 41, 31},    // one more, part of the picture
        {12, 8, {-1, -1, -1, -1}, 37, 29},   // enlarge: repeated pixels and rows
        {4, 4, {-1, -1, -1, -1}, 5, 3},      // 12-byte rows: the picture ends at its last pixel
        {1, 1, {-1, -1, -1, -1}, 6, 2},
        {33, 1, {-1, -1, -1, -1}, 1, 5},
    };
    for (const Shape& s : shapes) {
        const PixelBuffer picture = Noise(s.pw, s.ph, static_cast<uint32_t>(s.pw * 31 + s.tw));
        const Rect r = NormaliseDisplayRect(s.r.left, s.r.top, s.r.right, s.r.bottom, s.pw, s.ph);
        for (int32_t brightness : {100, 50, 200, 0}) {
            SCOPED_TRACE(std::to_string(s.pw) + "x" + std::to_string(s.ph) + " -> " + std::to_string(s.tw) + "x" +
                         std::to_string(s.th) + " at " + std::to_string(brightness));
            const PixelBuffer work = ComposeInto(s.tw, s.th, picture, Params(1, brightness, s.r));
            for (int32_t y = 0; y < s.th; ++y)
                for (int32_t x = 0; x < s.tw; ++x) {
                    const int64_t sx = r.left + (2 * x + 1) * r.Width() / (2 * s.tw);
                    const int64_t sy = r.top + (2 * y + 1) * r.Height() / (2 * s.th);
                    const Bgr p = picture.Pixel(static_cast<int32_t>(sx), static_cast<int32_t>(sy));
                    ASSERT_EQ(work.Pixel(x, y), Scaled(p, brightness)) << x << "," << y;
                }
        }
    }
}

TEST(ComposePixels, OwnSizeCopiesIntoTheTopLeftCorner) {
    // Larger than the target: its top-left part, no margin.
    const PixelBuffer big = Noise(800, 600, 1);
    const PixelBuffer cut = ComposeInto(400, 300, big, Params(0));
    for (int32_t y = 0; y < 300; ++y)
        ASSERT_TRUE(std::equal(cut.Row(y), cut.Row(y) + 400 * 3, big.Row(y))) << y;

    // Smaller: the picture in the corner, the margin colour elsewhere.
    const PixelBuffer small = Noise(100, 50, 2);
    const PixelBuffer framed = ComposeInto(400, 300, small, Params(0));
    for (int32_t y = 0; y < 300; ++y)
        for (int32_t x = 0; x < 400; ++x)
            ASSERT_EQ(framed.Pixel(x, y), (x < 100 && y < 50 ? small.Pixel(x, y) : kMarginPixel)) << x << "," << y;

    // A display rectangle: its top-left pixel lands at (0, 0).
    const PixelBuffer part = ComposeInto(40, 30, big, Params(0, 100, Rect{10, 20, 60, 40}));
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x)
            ASSERT_EQ(part.Pixel(x, y), (y < 20 ? big.Pixel(10 + x, 20 + y) : kMarginPixel)) << x << "," << y;
}

TEST(ComposePixels, BrightnessScalesPictureAndMargin) {
    PixelBuffer picture(2, 1);
    picture.SetPixel(0, 0, Bgr{255, 1, 100});
    picture.SetPixel(1, 0, Bgr{128, 0, 199});
    struct Case {
        int32_t percent;
        Bgr first, second, margin;
    };
    const Case cases[] = {
        {50, {127, 0, 50}, {64, 0, 99}, {0x09, 0x1A, 0x2B}},
        {200, {255, 2, 200}, {255, 0, 255}, {0x24, 0x68, 0xAC}},
        {0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {-30, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},  // as 0
        {100, {255, 1, 100}, {128, 0, 199}, kMarginPixel},
    };
    for (const Case& c : cases) {
        for (int32_t scaling : {0, 1}) {
            SCOPED_TRACE(std::to_string(c.percent) + " " + std::to_string(scaling));
            const PixelBuffer work = ComposeInto(3, 2, picture, Params(scaling, c.percent, Rect{0, 0, 2, 1}));
            if (scaling == 0) {
                EXPECT_EQ(work.Pixel(0, 0), c.first);
                EXPECT_EQ(work.Pixel(1, 0), c.second);
                for (Point m : {Point{2, 0}, Point{0, 1}, Point{2, 1}}) EXPECT_EQ(work.Pixel(m.x, m.y), c.margin);
            } else {
                EXPECT_EQ(work.Pixel(0, 1), c.first);  // column 0 takes pixel 0, columns 1 and 2 pixel 1
                EXPECT_EQ(work.Pixel(2, 1), c.second);
            }
        }
    }
    // 100 leaves the picture bit for bit.
    const PixelBuffer noise = Noise(37, 23, 3);
    const PixelBuffer same = ComposeInto(37, 23, noise, Params(1));
    EXPECT_EQ(same, noise);
}

TEST(ScaleBrightness, EveryByteValueAtEveryKindOfPercent) {
    PixelBuffer all(256, 1);
    for (int32_t v = 0; v < 256; ++v) all.SetPixel(v, 0, Bgr{uint8_t(v), uint8_t(255 - v), uint8_t(v ^ 0x5A)});
    for (int32_t percent : {INT32_MIN, -1, 0, 1, 33, 50, 99, 100, 101, 150, 199, 200, 256, 999, 25499, 25500,
                            25501, 30000, INT32_MAX}) {
        PixelBuffer b = all;
        ScaleBrightness(b, Rect{0, 0, 256, 1}, percent);
        for (int32_t x = 0; x < 256; ++x) {
            ASSERT_EQ(b.Pixel(x, 0), Scaled(all.Pixel(x, 0), percent)) << percent << " at " << x;
        }
    }
}

TEST(ScaleBrightness, OnlyInsideTheRectangleAndRefusesBadOnes) {
    const PixelBuffer original = Noise(7, 5, 4);
    PixelBuffer b = original;
    ScaleBrightness(b, Rect{2, 1, 6, 4}, 50);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 7; ++x) {
            const Bgr p = original.Pixel(x, y);
            const bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
            EXPECT_EQ(b.Pixel(x, y), inside ? Scaled(p, 50) : p);
        }
    for (const Rect& r : {Rect{0, 0, 7, 5}, Rect{7, 5, 7, 5}, Rect{3, 2, 3, 2}}) {
        PixelBuffer fine = original;
        EXPECT_NO_THROW(ScaleBrightness(fine, r, 0));
    }
    const Rect bad[] = {{0, -1, 7, 5}, {0, 3, 7, 2}, {-1, 0, 7, 5}, {4, 0, 3, 5}, {0, 0, 7, 6}, {0, 0, 8, 5}};
    for (const Rect& r : bad) {
        PixelBuffer untouched = original;
        try {
            ScaleBrightness(untouched, r, 0);
            ADD_FAILURE() << "accepted " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Worng Range error");
        }
        EXPECT_EQ(untouched, original);
    }
}

// A bitmap class of its own, as a plug-in reader registers one.
class PluginBitmap : public TBitmap {
public:
    using TBitmap::TBitmap;
    static const PictureClass& StaticClass() {
        static const PictureClass cls("PluginBitmap", &TBitmap::StaticClass(),
                                      [](FileSystem& f) { return std::make_unique<PluginBitmap>(f); });
        return cls;
    }
    const PictureClass& Class() const override { return StaticClass(); }
};

std::vector<uint8_t> IconFile() {
    std::vector<uint8_t> d = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 40, 0, 0, 0, 22, 0, 0, 0};
    d.resize(22 + 40, 0);
    return d;
}

class ComposePictureTest : public ::testing::Test {
protected:
    ComposePictureTest() { formats_.RegisterFileFormat("pic", "plug-in", PluginBitmap::StaticClass()); }

    void Compose(const std::string& path, const CompositionParams& params) {
        ComposePicture(target_, path, params, source_);
    }
    // Runs the composition, expects it to fail with a message containing part, and the target
    // to be as it was.
    void ExpectFailure(const std::string& path, const std::string& part) {
        try {
            Compose(path, Params(1));
            ADD_FAILURE() << path << " composed";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
        EXPECT_EQ(target_, before_) << path;
    }

    FakeFileSystem files_;
    PictureFormats formats_;
    PictureSource source_{formats_, files_};
    const PixelBuffer picture_ = Noise(5, 3, 5);
    const PixelBuffer before_ = Pattern(10, 6, 7);
    PixelBuffer target_ = before_;
};

TEST_F(ComposePictureTest, ComposesTheFileIntoTheWholeTargetAndReadsItEachTime) {
    files_.files["a.bmp"] = WriteBmp24(picture_);
    Compose("a.bmp", Params(1));
    ASSERT_EQ(target_.Width(), 10);
    ASSERT_EQ(target_.Height(), 6);
    EXPECT_EQ(target_.Pixel(9, 5), picture_.Pixel(4, 2));
    EXPECT_EQ(target_.Pixel(0, 0), picture_.Pixel(0, 0));

    // Nothing is kept from the last time.
    const PixelBuffer other = Noise(5, 3, 6);
    files_.files["a.bmp"] = WriteBmp24(other);
    Compose("a.bmp", Params(0));
    EXPECT_EQ(target_.Pixel(4, 2), other.Pixel(4, 2));
    EXPECT_EQ(target_.Pixel(5, 2), kMarginPixel);

    // Pictures a plug-in reads are bitmaps too.
    files_.files["b.PIC"] = WriteBmp24(picture_);
    Compose("b.PIC", Params(0));
    EXPECT_EQ(target_.Pixel(1, 1), picture_.Pixel(1, 1));
}

TEST_F(ComposePictureTest, FailuresLeaveTheTargetAsItWas) {
    ExpectFailure("missing.bmp", "画像ファイルが存在しません");

    files_.files["photo.jpg"] = WriteBmp24(picture_);
    ExpectFailure("photo.jpg", ".jpg");

    std::vector<uint8_t> truncated = WriteBmp24(picture_);
    truncated.resize(30);
    files_.files["truncated.bmp"] = truncated;
    ExpectFailure("truncated.bmp", "");
    files_.files["garbage.bmp"] = std::vector<uint8_t>(200, 0xA5);
    ExpectFailure("garbage.bmp", "");

    // An icon loads, but only a bitmap can be composed.
    files_.files["icon.ico"] = IconFile();
    ExpectFailure("icon.ico", "TBitmap");
}

TEST_F(ComposePictureTest, WindowCompositionForgetsOnlyWhatFailed) {
    KeptPicture kept;
    std::string path = "gone.bmp";
    EXPECT_FALSE(kept.Compose(target_, path, Params(1), source_, PictureReading::fromFile));
    EXPECT_EQ(path, "gone.bmp");
    EXPECT_EQ(target_, before_);

    files_.files["bad.bmp"] = std::vector<uint8_t>(10, 0);
    files_.files["icon.ico"] = IconFile();
    for (std::string failing : {"bad.bmp", "icon.ico"}) {
        EXPECT_FALSE(kept.Compose(target_, failing, Params(1), source_, PictureReading::keptIfSameFile));
        EXPECT_EQ(failing, "");
        EXPECT_EQ(target_, before_);
    }

    files_.files["good.bmp"] = WriteBmp24(picture_);
    path = "good.bmp";
    EXPECT_TRUE(kept.Compose(target_, path, Params(1, 0), source_, PictureReading::keptIfSameFile));
    EXPECT_EQ(path, "good.bmp");
    EXPECT_EQ(target_.Pixel(3, 3), (Bgr{0, 0, 0}));
}

// A size change composes from the kept picture, as long as the file is the one it was read from.
TEST_F(ComposePictureTest, KeptPictureServesOnlyTheSameFile) {
    KeptPicture kept;
    const auto compose = [&](int32_t w, int32_t h, PictureReading reading) {
        target_ = PixelBuffer(w, h);
        std::string path = "a.bmp";
        EXPECT_TRUE(kept.Compose(target_, path, Params(1, 50), source_, reading));
        return files_.reads["a.bmp"];
    };
    files_.files["a.bmp"] = WriteBmp24(picture_);
    files_.writeTimes["a.bmp"] = 1000;
    EXPECT_EQ(compose(10, 6, PictureReading::keptIfSameFile), 1);
    EXPECT_EQ(compose(7, 4, PictureReading::keptIfSameFile), 1);
    EXPECT_EQ(target_, ComposeInto(7, 4, picture_, Params(1, 50)));

    // Rewritten at the same size: the time tells.
    const PixelBuffer other = Noise(5, 3, 8);
    files_.files["a.bmp"] = WriteBmp24(other);
    files_.writeTimes["a.bmp"] = 1001;
    EXPECT_EQ(compose(9, 5, PictureReading::keptIfSameFile), 2);
    EXPECT_EQ(target_, ComposeInto(9, 5, other, Params(1, 50)));

    // Rewritten within the same time: the size tells.
    const PixelBuffer wider = Noise(6, 3, 9);
    files_.files["a.bmp"] = WriteBmp24(wider);
    EXPECT_EQ(compose(9, 5, PictureReading::keptIfSameFile), 3);
    EXPECT_EQ(target_, ComposeInto(9, 5, wider, Params(1, 50)));

    // A new slide is always read.
    EXPECT_EQ(compose(9, 5, PictureReading::fromFile), 4);
    EXPECT_EQ(compose(8, 5, PictureReading::keptIfSameFile), 4);
}

TEST_F(ComposePictureTest, OnlyOnePictureIsKeptAndAGoneFileShowsNothing) {
    KeptPicture kept;
    files_.files["a.bmp"] = WriteBmp24(picture_);
    files_.files["b.bmp"] = WriteBmp24(Noise(4, 4, 3));
    const auto compose = [&](const std::string& name) {
        std::string path = name;
        return kept.Compose(target_, path, Params(0), source_, PictureReading::keptIfSameFile);
    };
    EXPECT_TRUE(compose("a.bmp"));
    EXPECT_TRUE(compose("b.bmp"));
    EXPECT_TRUE(compose("a.bmp"));
    EXPECT_EQ(files_.reads["a.bmp"], 2);
    kept.Release();
    EXPECT_TRUE(compose("a.bmp"));
    EXPECT_EQ(files_.reads["a.bmp"], 3);

    // Deleted: nothing is composed (the target keeps what it had) and the name stays.
    const std::vector<uint8_t> bytes = files_.files["a.bmp"];
    files_.files.erase("a.bmp");
    target_ = before_;
    std::string path = "a.bmp";
    EXPECT_FALSE(kept.Compose(target_, path, Params(0), source_, PictureReading::keptIfSameFile));
    EXPECT_EQ(path, "a.bmp");
    EXPECT_EQ(target_, before_);
    // Back with the same size and time, it is read again: the kept picture went with the file.
    files_.files["a.bmp"] = bytes;
    EXPECT_TRUE(compose("a.bmp"));
    EXPECT_EQ(files_.reads["a.bmp"], 4);
}

}  // namespace
}  // namespace kembo
