#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "base/errors.h"
#include "image/pixel_ops.h"
#include "test_pictures.h"

namespace kembo {
namespace {

using test::Pattern;

// The buffer as rows of text, '#' for white (0xFFFFFF), '.' for anything else.
std::vector<std::string> Picture(const PixelBuffer& b) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int32_t x = 0; x < b.Width(); ++x) row += b.Pixel(x, y) == Bgr{255, 255, 255} ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// What CopyRect must do, pixel by pixel over the destination.
PixelBuffer NaiveCopy(const PixelBuffer& src, int64_t sx, int64_t sy, int64_t w, int64_t h, PixelBuffer dst,
                      int64_t dx, int64_t dy) {
    for (int32_t y = 0; y < dst.Height(); ++y) {
        for (int32_t x = 0; x < dst.Width(); ++x) {
            const int64_t i = x - dx, j = y - dy;
            const int64_t fx = sx + i, fy = sy + j;
            if (i >= 0 && i < w && j >= 0 && j < h && fx >= 0 && fx < src.Width() && fy >= 0 && fy < src.Height())
                dst.SetPixel(x, y, src.Pixel(static_cast<int32_t>(fx), static_cast<int32_t>(fy)));
        }
    }
    return dst;
}

constexpr int32_t kCoords[] = {INT32_MIN, -100000, -5, -1, 0, 3, 6, 100000, INT32_MAX};
constexpr int32_t kSizes[] = {INT32_MIN, -1, 0, 1, 4, 9, INT32_MAX};

TEST(PixelBuffer, ReshapeKeepsTheStoreUnlessItMustGrow) {
    PixelBuffer b(10, 4);
    const uint8_t* store = b.Data();
    b.Reshape(7, 5);
    EXPECT_EQ(b.Data(), store);
    EXPECT_EQ(b.Stride(), 24u);
    EXPECT_EQ(b.SizeBytes(), 120u);
    b.SetPixel(6, 4, Bgr{1, 2, 3});

    b.Reshape(21, 20);
    EXPECT_EQ(b.Stride(), 64u);
    ASSERT_EQ(b.SizeBytes(), 1280u);
    b.SetPixel(20, 19, Bgr{4, 5, 6});
    // Refused sizes leave the buffer as it was.
    EXPECT_THROW(b.Reshape(-1, 3), PictureError);
    EXPECT_THROW(b.Reshape(PixelBuffer::kMaxSide, PixelBuffer::kMaxSide), PictureError);
    EXPECT_EQ(b.Width(), 21);
    EXPECT_EQ(b.Pixel(20, 19), (Bgr{4, 5, 6}));
    b.Reshape(0, 7);
    EXPECT_TRUE(b.Empty());
}

TEST(CopyRect, ClipsAtEveryEdgeForAnyCoordinates) {
    const PixelBuffer src = Pattern(7, 5, 1);
    const PixelBuffer dst = Pattern(6, 4, 2);
    // The axes clip independently: sweep one while the other stays inside.
    for (int32_t s : kCoords)
        for (int32_t size : kSizes)
            for (int32_t d : kCoords) {
                SCOPED_TRACE(std::to_string(s) + " " + std::to_string(size) + " " + std::to_string(d));
                PixelBuffer across = dst;
                CopyRect(src, s, 1, size, 2, across, d, 1);
                EXPECT_EQ(across, NaiveCopy(src, s, 1, size, 2, dst, d, 1));
                PixelBuffer down = dst;
                CopyRect(src, 1, s, 3, size, down, 2, d);
                EXPECT_EQ(down, NaiveCopy(src, 1, s, 3, size, dst, 2, d));
            }
}

TEST(CopyRect, OverlappingWithinOneBufferReadsTheSourceFirst) {
    const PixelBuffer original = Pattern(9, 8, 3);
    for (int32_t dy = -3; dy <= 3; ++dy)
        for (int32_t dx = -3; dx <= 3; ++dx) {
            SCOPED_TRACE(std::to_string(dx) + "," + std::to_string(dy));
            PixelBuffer b = original;
            CopyRect(b, 2, 2, 5, 4, b, 2 + dx, 2 + dy);
            EXPECT_EQ(b, NaiveCopy(original, 2, 2, 5, 4, original, 2 + dx, 2 + dy));
        }
    PixelBuffer b = original;  // clipped on both sides at once
    CopyRect(b, -2, -1, 20, 20, b, 1, 2);
    EXPECT_EQ(b, NaiveCopy(original, -2, -1, 20, 20, original, 1, 2));
}

TEST(Stretch, SamplesThePixelUnderEachDestinationCentre) {
    const PixelBuffer src = Pattern(6, 6, 0);
    const auto columns = [&](Rect from, int32_t dw) {
        PixelBuffer dst(dw, 1);
        StretchRect(src, from, dst, Rect{0, 0, dw, 1});
        std::vector<int> xs;
        for (int32_t x = 0; x < dw; ++x) xs.push_back(dst.Pixel(x, 0).b);
        return xs;
    };
    EXPECT_EQ(columns({0, 0, 2, 1}, 4), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(columns({0, 0, 2, 1}, 6), (std::vector<int>{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(columns({0, 0, 2, 1}, 3), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(columns({1, 0, 4, 1}, 5), (std::vector<int>{1, 1, 2, 3, 3}));
    EXPECT_EQ(columns({0, 0, 4, 1}, 2), (std::vector<int>{1, 3}));
    EXPECT_EQ(columns({0, 0, 6, 1}, 4), (std::vector<int>{0, 2, 3, 5}));
    EXPECT_EQ(columns({0, 0, 6, 1}, 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(columns({4, 0, 5, 1}, 3), (std::vector<int>{4, 4, 4}));
}

TEST(Stretch, ScalesEachAxisOnItsOwn) {
    const PixelBuffer src = Pattern(2, 3, 7);
    PixelBuffer dst = Pattern(9, 5, 9);
    StretchWhole(src, dst, Rect{1, 1, 7, 4});  // 3x across, 1x down
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 9; ++x) {
            const bool inside = x >= 1 && x < 7 && y >= 1 && y < 4;
            EXPECT_EQ(dst.Pixel(x, y), (inside ? src.Pixel((x - 1) / 3, y - 1) : Bgr{uint8_t(x), uint8_t(y), 9}))
                << x << "," << y;
        }
    PixelBuffer one = Pattern(5, 4, 1);
    StretchWhole(Pattern(1, 1, 5), one, Rect{0, 0, 5, 4});
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(one.Pixel(x, y), (Bgr{0, 0, 5}));
}

TEST(Stretch, ClippedDestinationShowsWhatTheUnclippedOneWould) {
    const PixelBuffer src = Pattern(7, 5, 4);
    const Rect from{1, 0, 6, 5};
    const Rect to{0, 0, 17, 13};  // enlarging, not by a whole factor
    PixelBuffer whole(17, 13);
    StretchRect(src, from, whole, to);
    PixelBuffer shrunk(3, 2);
    StretchRect(src, Rect{0, 0, 7, 5}, shrunk, Rect{0, 0, 3, 2});
    for (int32_t ox : {-12, -5, 0, 4, 15})
        for (int32_t oy : {-9, -2, 0, 3, 11}) {
            SCOPED_TRACE(std::to_string(ox) + "," + std::to_string(oy));
            PixelBuffer part = Pattern(6, 5, 8);
            StretchRect(src, from, part, Rect{to.left + ox, to.top + oy, to.right + ox, to.bottom + oy});
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 6; ++x) {
                    const int32_t wx = x - ox, wy = y - oy;
                    const bool covered = wx >= 0 && wx < 17 && wy >= 0 && wy < 13;
                    EXPECT_EQ(part.Pixel(x, y), (covered ? whole.Pixel(wx, wy) : Bgr{uint8_t(x), uint8_t(y), 8}));
                }
        }
}

TEST(Stretch, SourceBeyondThePictureLeavesTheDestinationAsItWas) {
    const PixelBuffer src = Pattern(4, 3, 1);
    PixelBuffer dst = Pattern(8, 6, 2);
    StretchRect(src, Rect{-2, -1, 6, 5}, dst, Rect{0, 0, 8, 6});  // 1:1, larger than src all round
    EXPECT_EQ(dst, NaiveCopy(src, -2, -1, 8, 6, Pattern(8, 6, 2), 0, 0));

    PixelBuffer doubled = Pattern(8, 4, 2);
    StretchRect(src, Rect{2, 0, 6, 2}, doubled, Rect{0, 0, 8, 4});  // right half samples outside
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(doubled.Pixel(x, y), (x < 4 ? src.Pixel(2 + x / 2, y / 2) : Bgr{uint8_t(x), uint8_t(y), 2}));
}

TEST(Stretch, HugeRectanglesSampleExactly) {
    const PixelBuffer src = Pattern(8, 8, 3);
    PixelBuffer same = Pattern(6, 6, 0);
    const Rect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    StretchRect(src, huge, same, huge);  // equal sizes: pixel for pixel
    EXPECT_EQ(same, NaiveCopy(src, 0, 0, 6, 6, same, 0, 0));

    PixelBuffer doubled(6, 6);
    StretchRect(src, Rect{-(1 << 29), -(1 << 29), 1 << 29, 1 << 29}, doubled,
                Rect{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30});
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(doubled.Pixel(x, y), src.Pixel(x / 2, y / 2));

    PixelBuffer untouched = Pattern(6, 6, 0);
    StretchRect(src, Rect{INT32_MIN, 0, INT32_MIN + 1, 1}, untouched, huge);
    StretchRect(src, Rect{0, 0, 8, 8}, untouched, Rect{INT32_MAX - 1, 0, INT32_MAX, 5});
    EXPECT_EQ(untouched, Pattern(6, 6, 0));
}

TEST(Stretch, EmptyOrMirroredRectanglesDrawNothing) {
    const PixelBuffer src = Pattern(4, 4, 1);
    PixelBuffer dst = Pattern(4, 4, 2);
    for (Rect r : {Rect{0, 0, 0, 4}, Rect{0, 0, 4, 0}, Rect{4, 0, 0, 4}, Rect{0, 4, 4, 0}}) {
        StretchRect(src, r, dst, Rect{0, 0, 4, 4});
        StretchRect(src, Rect{0, 0, 4, 4}, dst, r);
    }
    StretchWhole(PixelBuffer(), dst, Rect{0, 0, 4, 4});
    EXPECT_EQ(dst, Pattern(4, 4, 2));
}

TEST(Stretch, OntoItselfSamplesThePictureAsItWas) {
    const PixelBuffer original = Pattern(9, 7, 5);
    PixelBuffer expected = original;
    StretchRect(original, Rect{0, 0, 5, 4}, expected, Rect{2, 1, 9, 7});
    PixelBuffer b = original;
    StretchRect(b, Rect{0, 0, 5, 4}, b, Rect{2, 1, 9, 7});
    EXPECT_EQ(b, expected);
}

TEST(CopyRegions, CopiesEveryRectangleClippedToBothBuffers) {
    // Bands from no pixel up to 14 (42 bytes), side by side and overlapping, some beyond the edges;
    // the source smaller than the destination.
    const PixelBuffer src = Pattern(40, 6, 1);
    std::vector<Rect> rects;
    for (int32_t w = 0, x = -3; w <= 14; x += w + 1, ++w) rects.push_back(Rect{x % 43, w % 4, x % 43 + w, 7 - w % 3});
    rects.push_back(Rect{5, -2, 9, 1});
    rects.push_back(Rect{INT32_MIN, 5, INT32_MAX, INT32_MAX});
    PixelBuffer dst = Pattern(45, 8, 2);
    CopyRegions(src, dst, rects);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 45; ++x) {
            bool inside = false;
            for (const Rect& r : rects) inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            inside &= x < 40 && y < 6;
            EXPECT_EQ(dst.Pixel(x, y), (inside ? src : Pattern(45, 8, 2)).Pixel(x, y)) << x << "," << y;
        }
}

TEST(Fill, PaintsOnlyTheClippedRectangle) {
    const Bgr colour{10, 20, 30};
    const Rect rects[] = {{-5, 2, INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN, 2, 1}, {3, 1, 4, 2}, {5, 5, 2, 2}};
    for (const Rect& r : rects) {
        PixelBuffer b = Pattern(7, 5, 0);  // 21-byte rows: padding in play
        FillRect(b, r, colour);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 7; ++x) {
                const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                EXPECT_EQ(b.Pixel(x, y), (inside ? colour : Bgr{uint8_t(x), uint8_t(y), 0})) << x << "," << y;
            }
    }
    for (Bgr c : {Bgr{1, 2, 3}, Bgr{0x80, 0x80, 0x80}}) {
        PixelBuffer b = Pattern(5, 3, 9);
        FillAll(b, c);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), c);
    }
    PixelBuffer none;
    FillAll(none, colour);
}

TEST(MaskOps, FollowTheirTruthTables) {
    // Mask columns: black, white as 1, white as 0xFF; pixel rows: 0x00, 0x5A, 0xFF in every byte.
    const uint8_t values[] = {0x00, 0x5A, 0xFF};
    PixelBuffer a(3, 3);
    Mask mask(4, 4);  // larger than the buffer: only the common area counts
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 3; ++x) a.SetPixel(x, y, Bgr{values[y], values[y], values[y]});
    }
    for (int32_t y = 0; y < 4; ++y) {
        mask.Row(y)[1] = 0x01;
        mask.Row(y)[2] = 0xFF;
    }
    PixelBuffer andNot = a;
    AndNotMask(andNot, mask);
    PixelBuffer andMask = a;
    AndMask(andMask, mask);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 3; ++x) {
            const uint8_t v = values[y];
            EXPECT_EQ(andNot.Pixel(x, y), (x == 0 ? Bgr{v, v, v} : Bgr{})) << x << "," << y;
            EXPECT_EQ(andMask.Pixel(x, y), (x == 0 ? Bgr{} : Bgr{v, v, v})) << x << "," << y;
        }

    PixelBuffer big = Pattern(4, 4, 0);
    AndNotMask(big, Mask(2, 2));  // smaller mask: outside it the buffer keeps its pixels
    AndMask(big, Mask(2, 2));
    EXPECT_EQ(big.Pixel(0, 0), Bgr{});
    EXPECT_EQ(big.Pixel(1, 1), Bgr{});
    EXPECT_EQ(big.Pixel(3, 1), (Bgr{3, 1, 0}));
    EXPECT_EQ(big.Pixel(0, 3), (Bgr{0, 3, 0}));
}

TEST(MaskOps, OrCombinesBytesOverTheCommonArea) {
    PixelBuffer a(3, 2);
    FillAll(a, Bgr{0x0F, 0x50, 0x00});
    PixelBuffer b(2, 3);
    FillAll(b, Bgr{0xF0, 0x05, 0x00});
    OrInto(a, b);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(a.Pixel(x, y), (x < 2 ? Bgr{0xFF, 0x55, 0x00} : Bgr{0x0F, 0x50, 0x00}));
}

TEST(InvertRect, FlipsEveryBitInsideTheClippedRectangle) {
    PixelBuffer b = Pattern(4, 3, 0x0F);
    InvertRect(b, Rect{-9, 1, 2, INT32_MAX});
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            const Bgr plain{uint8_t(x), uint8_t(y), 0x0F};
            const Bgr flipped{uint8_t(~x), uint8_t(~y), 0xF0};
            EXPECT_EQ(b.Pixel(x, y), x < 2 && y >= 1 ? flipped : plain);
        }
}

TEST(DashedFrame, RunsFourOnFourOffClockwiseFromTheTopLeft) {
    PixelBuffer b(10, 4);
    DrawInvertedDashedFrame(b, Rect{0, 0, 10, 4});
    EXPECT_EQ(Picture(b), (std::vector<std::string>{
                              "####....##",
                              ".........#",
                              ".........#",
                              "..####....",
                          }));

    // The same rectangle, partly outside a smaller buffer, shows the same dashes.
    PixelBuffer part(7, 3);
    DrawInvertedDashedFrame(part, Rect{-3, -1, 7, 3});
    EXPECT_EQ(Picture(part), (std::vector<std::string>{
                                 "......#",
                                 "......#",
                                 "###....",
                             }));

    PixelBuffer thin(10, 3);
    DrawInvertedDashedFrame(thin, Rect{0, 1, 10, 2});
    DrawInvertedDashedFrame(thin, Rect{9, 0, 10, 3});
    EXPECT_EQ(Picture(thin), (std::vector<std::string>{
                                 ".........#",
                                 "####....#.",  // the crossing pixel inverted by both calls
                                 ".........#",
                             }));
}

TEST(DashedFrame, InvertsEachOutlinePixelOnceAndTwiceRestores) {
    const Rect rects[] = {{2, 2, 3, 3},   {1, 1, 2, 7},     {0, 3, 9, 4},      {1, 1, 3, 3},  {1, 1, 4, 6},
                          {0, 0, 12, 10}, {-3, -4, 5, 20}, {8, 5, 40, 7},     {5, 5, 5, 9},  {6, 6, 2, 2},
                          {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {INT32_MIN, 2, 4, INT32_MAX}};
    const PixelBuffer original = Pattern(12, 10, 0x33);
    for (const Rect& r : rects) {
        SCOPED_TRACE(std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                     std::to_string(r.bottom));
        PixelBuffer b = original;
        DrawInvertedDashedFrame(b, r);
        int changed = 0;
        for (int32_t y = 0; y < b.Height(); ++y)
            for (int32_t x = 0; x < b.Width(); ++x) {
                if (b.Pixel(x, y) == original.Pixel(x, y)) continue;
                ++changed;
                const Bgr o = original.Pixel(x, y);
                EXPECT_EQ(b.Pixel(x, y), (Bgr{uint8_t(~o.b), uint8_t(~o.g), uint8_t(~o.r)}));
                const bool onOutline = ((x == r.left || x == int64_t{r.right} - 1) && y >= r.top && y < r.bottom) ||
                                       ((y == r.top || y == int64_t{r.bottom} - 1) && x >= r.left && x < r.right);
                EXPECT_TRUE(onOutline) << x << "," << y;
            }
        DrawInvertedDashedFrame(b, r);
        EXPECT_EQ(b, original);
        if (r.left >= 0 && r.top >= 0 && r.right <= 12 && r.bottom <= 10 && !r.Empty()) {
            // Wholly visible: as many changed pixels as lit places along the outline.
            const int64_t w = r.Width(), h = r.Height();
            const int64_t places = (w == 1 || h == 1) ? w * h : 2 * (w + h) - 4;
            int lit = 0;
            for (int64_t k = 0; k < places; ++k) lit += k % 8 < 4;
            EXPECT_EQ(changed, lit);
        }
    }
}

}  // namespace
}  // namespace kembo
