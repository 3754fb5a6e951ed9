#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "image/pixel_ops.h"

namespace kembo {
namespace {

// Offsets from the box centre in doubled coordinates, y up: whole numbers for pixel centres.
struct Doubled {
    int64_t u, w;
};
Doubled FromCentre(Rect box, int64_t x2, int64_t y2) {
    return {x2 - (int64_t{box.left} + box.right), (int64_t{box.top} + box.bottom) - y2};
}
Doubled PixelCentre(Rect box, int32_t x, int32_t y) { return FromCentre(box, 2 * int64_t{x} + 1, 2 * int64_t{y} + 1); }
Doubled PointDir(Rect box, Point p) { return FromCentre(box, 2 * int64_t{p.x}, 2 * int64_t{p.y}); }

// Small boxes only: the plain 64-bit form of "centre inside the closed ellipse".
bool InEllipse(Rect box, int32_t x, int32_t y) {
    const int64_t w = box.Width(), h = box.Height();
    if (w <= 0 || h <= 0 || x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
    const Doubled d = PixelCentre(box, x, y);
    return d.u * d.u * h * h + d.w * d.w * w * w <= w * w * h * h;
}

bool OnRay(Rect box, Point p, int32_t x, int32_t y) {
    const Doubled a = PointDir(box, p), d = PixelCentre(box, x, y);
    return a.u * d.w - a.w * d.u == 0 && a.u * d.u + a.w * d.w >= 0;
}

Mask Pie(int32_t w, int32_t h, Rect box, Point p, Point q) {
    Mask m(w, h);
    FillPie(m, box, p, q);
    return m;
}

std::string Where(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }

TEST(Pie, PointsOnOneRayFillTheWholeEllipse) {
    const Rect boxes[] = {{0, 0, 12, 9}, {1, 2, 10, 11}, {-3, -2, 8, 5}, {4, 4, 5, 5}, {2, 3, 4, 11}};
    for (const Rect& box : boxes) {
        const int64_t cx2 = int64_t{box.left} + box.right, cy2 = int64_t{box.top} + box.bottom;
        // Same point twice; two points along one slanted ray, one far beyond the box.
        const Point p1{static_cast<int32_t>(cx2 / 2 + 3), static_cast<int32_t>(cy2 / 2 - 2)};
        const Point p2{static_cast<int32_t>(p1.x + 3 * (p1.x * 2 - cx2)),
                       static_cast<int32_t>(p1.y + 3 * (p1.y * 2 - cy2))};
        for (const auto& [p, q] : {std::pair{p1, p1}, std::pair{p1, p2}, std::pair{p2, p1}}) {
            const Mask m = Pie(12, 12, box, p, q);
            for (int32_t y = 0; y < 12; ++y)
                for (int32_t x = 0; x < 12; ++x) EXPECT_EQ(m.White(x, y), InEllipse(box, x, y)) << Where(x, y);
        }
    }
}

TEST(Pie, QuartersRunCounterclockwiseOnTheScreen) {
    const Rect box{1, 1, 11, 9};  // centre (6, 5)
    const Point right{11, 5}, up{6, 1}, left{1, 5}, down{6, 9};
    const struct {
        Point from, to;
        bool (*quarter)(Doubled);
    } cases[] = {
        {right, up, [](Doubled d) { return d.u > 0 && d.w > 0; }},
        {up, left, [](Doubled d) { return d.u < 0 && d.w > 0; }},
        {left, down, [](Doubled d) { return d.u < 0 && d.w < 0; }},
        {down, right, [](Doubled d) { return d.u > 0 && d.w < 0; }},
        {Point{6, 5}, up, [](Doubled d) { return d.u > 0 && d.w > 0; }},  // the centre means 3 o'clock
        {up, right, [](Doubled d) { return !(d.u > 0 && d.w > 0); }},     // three quarters, the long way round
    };
    for (const auto& c : cases) {
        const Mask m = Pie(12, 10, box, c.from, c.to);
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 12; ++x)
                EXPECT_EQ(m.White(x, y), InEllipse(box, x, y) && c.quarter(PixelCentre(box, x, y))) << Where(x, y);
    }
}

TEST(Pie, ComplementarySectorsCoverTheEllipseMeetingOnlyOnTheRays) {
    const Rect boxes[] = {{0, 0, 15, 11}, {2, 1, 13, 14}};
    const Point points[] = {{14, 3}, {7, 0}, {0, 0}, {2, 9}, {7, 13}, {30, 9}, {8, 6}, {-40, 7}, {7, 7}};
    for (const Rect& box : boxes)
        for (const Point& p : points)
            for (const Point& q : points) {
                SCOPED_TRACE(Where(p.x, p.y) + " to " + Where(q.x, q.y));
                const Mask there = Pie(15, 15, box, p, q);
                const Mask back = Pie(15, 15, box, q, p);
                const Doubled a = PointDir(box, p), b = PointDir(box, q);
                const bool sameRay = a.u * b.w == a.w * b.u && a.u * b.u + a.w * b.w > 0;
                for (int32_t y = 0; y < 15; ++y)
                    for (int32_t x = 0; x < 15; ++x) {
                        EXPECT_EQ(there.White(x, y) || back.White(x, y), InEllipse(box, x, y)) << Where(x, y);
                        if (there.White(x, y) && back.White(x, y) && !sameRay) {
                            EXPECT_TRUE(OnRay(box, p, x, y) || OnRay(box, q, x, y)) << Where(x, y);
                        }
                    }
            }
}

TEST(Pie, ClipsToTheMaskAsIfDrawnWhole) {
    const Rect box{-6, -4, 9, 12};
    const Point p{9, -10}, q{-20, 5};
    const Mask whole = Pie(40, 40, Rect{box.left + 10, box.top + 10, box.right + 10, box.bottom + 10},
                           Point{p.x + 10, p.y + 10}, Point{q.x + 10, q.y + 10});
    const Mask part = Pie(7, 9, box, p, q);
    int white = 0;
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 7; ++x) {
            EXPECT_EQ(part.White(x, y), whole.White(x + 10, y + 10)) << Where(x, y);
            white += part.White(x, y);
        }
    EXPECT_GT(white, 0);
}

TEST(Pie, HugeBoxesAreExactAndEmptyBoxesFillNothing) {
    // Centre (-0.5, -0.5): every pixel of the mask lies below and right of it, well inside.
    const Rect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const auto count = [](const Mask& m) {
        int n = 0;
        for (int32_t y = 0; y < m.Height(); ++y)
            for (int32_t x = 0; x < m.Width(); ++x) n += m.White(x, y);
        return n;
    };
    const Point east{INT32_MAX, 0}, west{INT32_MIN, 0};
    EXPECT_EQ(count(Pie(16, 16, huge, east, east)), 256);
    EXPECT_EQ(count(Pie(16, 16, huge, east, west)), 0);    // the upper half
    EXPECT_EQ(count(Pie(16, 16, huge, west, east)), 256);  // the lower half
    // From the diagonal down-right up to 3 o'clock about the centre (0, 0): x >= y, diagonal included.
    EXPECT_EQ(count(Pie(16, 16, Rect{-1000000000, -1000000000, 1000000000, 1000000000}, Point{1, 1}, Point{1, 0})),
              16 * 17 / 2);

    for (const Rect& box : {Rect{3, 3, 3, 9}, Rect{3, 9, 9, 3}, Rect{9, 3, 3, 9}}) {
        EXPECT_EQ(count(Pie(12, 12, box, Point{0, 0}, Point{0, 0})), 0);
    }
    Mask none;
    FillPie(none, Rect{0, 0, 5, 5}, Point{0, 0}, Point{1, 1});
}

}  // namespace
}  // namespace kembo
