#include <gtest/gtest.h>

#include <climits>

#include "toolkit/monitors.h"

namespace kembo {
namespace {

// Work areas: a 1024 × 768 primary monitor with a 40-pixel taskbar at the bottom, a 1280 × 1024
// one right of it, and a 800 × 600 one left of it (negative coordinates).
const Monitor kPrimary{Rect{0, 0, 1024, 728}, true};
const Monitor kRight{Rect{1024, 0, 2304, 1024}, false};
const Monitor kLeft{Rect{-800, 100, 0, 700}, false};

TEST(PlaceOnMonitors, KeepsWhatAMonitorShowsAndBringsBackWhatNoneShows) {
    struct Case {
        const char* what;
        std::vector<Monitor> monitors;
        Rect stored;
        Rect placed;
    };
    const Case cases[] = {
        {"on the one monitor", {kPrimary}, {30, 20, 430, 320}, {30, 20, 430, 320}},
        {"partly on it, partly off", {kPrimary}, {900, -100, 1300, 200}, {900, -100, 1300, 200}},
        {"one pixel on it", {kPrimary}, {1023, 727, 1423, 1027}, {1023, 727, 1423, 1027}},
        {"touching its edge only: off", {kPrimary}, {1024, 0, 1424, 300}, {624, 0, 1024, 300}},
        {"below the work area, on the taskbar", {kPrimary}, {100, 728, 500, 768}, {100, 688, 500, 728}},
        {"stored for a larger screen", {kPrimary}, {3000, 2000, 3400, 2300}, {624, 428, 1024, 728}},
        {"two side by side: on the second", {kPrimary, kRight}, {2000, 900, 2400, 1200}, {2000, 900, 2400, 1200}},
        {"two side by side: beyond the second", {kPrimary, kRight}, {2400, 100, 2800, 400}, {1904, 100, 2304, 400}},
        {"left of the primary: kept negative", {kLeft, kPrimary}, {-700, 150, -300, 450}, {-700, 150, -300, 450}},
        {"left monitor gone", {kPrimary}, {-700, 150, -300, 450}, {0, 150, 400, 450}},
        {"above the left monitor", {kLeft, kPrimary}, {-790, -300, -390, 0}, {-790, 100, -390, 400}},
        {"larger than every work area", {kPrimary, kLeft}, {5000, 10, 7000, 1510}, {0, 0, 1024, 728}},
        {"equally near two: the primary",
         {Monitor{Rect{0, 0, 100, 100}, false}, Monitor{Rect{200, 0, 300, 100}, true}},
         {140, 0, 160, 50},
         {200, 0, 220, 50}},
        {"no monitors: unchanged", {}, {3000, 2000, 3400, 2300}, {3000, 2000, 3400, 2300}},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaceOnMonitors(c.stored, c.monitors), c.placed) << c.what;
}

TEST(CentredIn, HalvesTheFreeSpaceOfTheAreaCuttingTowardZero) {
    EXPECT_EQ(CentredIn(Rect{0, 0, 1024, 768}, 359, 180), (Point{332, 294}));
    // An odd free space loses its half pixel on the right and at the bottom.
    EXPECT_EQ(CentredIn(Rect{0, 0, 1023, 767}, 360, 180), (Point{331, 293}));
    // An area smaller than the window: -29.5 cuts to -29, not down to -30.
    EXPECT_EQ(CentredIn(Rect{0, 0, 300, 100}, 359, 180), (Point{-29, -40}));
    // The work area of a monitor left of the primary one.
    EXPECT_EQ(CentredIn(kLeft.workArea, 400, 300), (Point{-600, 250}));
    EXPECT_EQ(CentredIn(Rect{0, 0, INT32_MAX, 0}, INT32_MIN, INT32_MAX).x, INT32_MAX);
}

}  // namespace
}  // namespace kembo
