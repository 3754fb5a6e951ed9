// The routines frame by frame, each against what its effect is meant to show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "effect_rig.h"

namespace kembo {
namespace {

using test::EffectRig;
using test::FakeClock;
using test::Noise;
using test::Solid;
using test::Steps;

// Each frame against the one that shows the new picture where isNew(step, x, y), the old elsewhere.
void ExpectRevealed(const EffectRig& rig, const std::function<bool(int32_t, int32_t, int32_t)>& isNew) {
    for (std::size_t i = 0; i < rig.frames.size(); ++i)
        for (int32_t y = 0; y < rig.output.Height(); ++y)
            for (int32_t x = 0; x < rig.output.Width(); ++x) {
                const PixelBuffer& from = isNew(rig.drawn[i], x, y) ? rig.newPicture : rig.oldPicture;
                ASSERT_EQ(rig.frames[i].Pixel(x, y), from.Pixel(x, y)) << "step " << rig.drawn[i] << " at " << x << "," << y;
            }
}

TEST(Blinds, OpenABandOfEveryStripPerStep) {
    EffectRig splash(Noise(359, 180, 1), Noise(359, 180, 2));
    EXPECT_EQ(splash.RunPreset(137), 0);
    ExpectRevealed(splash, [](int32_t s, int32_t x, int32_t) { return x % 16 < 4 * (s + 1); });

    // Preset 9: strips of the reverse flag's parity run forward. The rows (2 a step, reversed)
    // finish first, at step 7; step 8 draws nothing and ends the effect.
    const auto hit = [](int32_t at, int32_t band, int32_t s, int32_t reverse) {
        return at / 16 % 2 == reverse ? at % 16 < band * (s + 1) : at % 16 >= 16 - band * (s + 1);
    };
    EffectRig grid(Noise(101, 61, 1), Noise(101, 61, 2));
    EXPECT_EQ(grid.RunPreset(9), 0);
    EXPECT_EQ(grid.drawn, Steps(9));
    ExpectRevealed(grid, [&](int32_t s, int32_t x, int32_t y) {
        return hit(x, 1, std::min(s, 7), 0) || hit(y, 2, std::min(s, 7), 1);
    });
}

TEST(Push, LinesTheNewPictureUpOnTheLastStepWhateverItsWidth) {
    // W = 100 at 16 a step: steps 0 to 7, the last moving 4 pixels.
    for (const int32_t preset : {10, 11}) {
        EffectRig rig(Noise(100, 30, 1), Noise(100, 30, 2));
        EXPECT_EQ(rig.RunPreset(preset), 0);
        EXPECT_EQ(rig.drawn, Steps(8));
        for (std::size_t s = 0; s < rig.frames.size(); ++s) {
            const int32_t d = std::min<int32_t>(16 * static_cast<int32_t>(s), 100);
            for (int32_t x = 0; x < 100; ++x) {
                // Right: the new picture's last d columns lead. Left: its first d columns follow.
                const Bgr expected = preset == 10 ? (x < d ? rig.newPicture.Pixel(x + 100 - d, 5) : rig.oldPicture.Pixel(x - d, 5))
                                                  : (x >= 100 - d ? rig.newPicture.Pixel(x - 100 + d, 5)
                                                                  : rig.oldPicture.Pixel(x + d, 5));
                ASSERT_EQ(rig.frames[s].Pixel(x, 5), expected) << preset << " step " << s << " x " << x;
            }
        }
        EXPECT_EQ(rig.output, rig.newPicture);
    }
    // Narrower (or lower) than one step: the new picture arrives whole at step 1.
    for (const int32_t preset : {10, 11, 12, 13}) {
        const bool across = preset <= 11;
        EffectRig rig(Noise(across ? 10 : 30, across ? 30 : 10, 1), Noise(across ? 10 : 30, across ? 30 : 10, 2));
        EXPECT_EQ(rig.RunPreset(preset), 0);
        EXPECT_EQ(rig.drawn, Steps(2));
        EXPECT_EQ(rig.output, rig.newPicture) << preset;
    }
}

// Old blue, new red: frames that read as rectangles.
constexpr Bgr kOld{255, 0, 0}, kNew{0, 0, 255};

TEST(Diagonals, TheNewBlockGrowsSixteenRowsAStepAlongTheDiagonal) {
    EffectRig rig(Solid(359, 180, kOld), Solid(359, 180, kNew));
    EXPECT_EQ(rig.RunPreset(45), 0);  // stretched in from the top-left
    EXPECT_EQ(rig.drawn, Steps(12));
    ExpectRevealed(rig, [](int32_t s, int32_t x, int32_t y) {
        const int32_t bh = s < 11 ? 16 * (s + 1) : 180;
        return y < bh && x < (s < 11 ? 359 * bh / 180 : 359);
    });
}

uint32_t Word(const PixelBuffer& b, int32_t x, int32_t y) {
    const Bgr p = b.Pixel(x, y);
    return p.b | uint32_t{p.g} << 8 | uint32_t{p.r} << 16;
}

TEST(PixelRoutines, BitPlanesAndFades) {
    // Variant 1, 3 planes a step: step s takes the top 3 s bits of every pixel word from the new picture.
    EffectRig planes(Noise(37, 11, 1), Noise(37, 11, 2));
    EXPECT_EQ(planes.RunPreset(31), 0);
    EXPECT_EQ(planes.drawn, Steps(9));
    for (const int32_t s : {1, 4}) {
        const uint32_t top = 0xFFFFFFu & ~(0xFFFFFFu >> (3 * s));
        for (int32_t x = 0; x < 37; ++x)
            EXPECT_EQ(Word(planes.frames[s], x, 3), (Word(planes.newPicture, x, 3) & top) | (Word(planes.oldPicture, x, 3) & ~top & 0xFFFFFF));
    }

    // Half way, the quotient cuts toward zero: old 0, new 255 gives 127; old 255, new 0 gives 128.
    PixelBuffer from(1, 1), to(1, 1);
    from.SetPixel(0, 0, Bgr{0, 255, 10});
    to.SetPixel(0, 0, Bgr{255, 0, 11});
    for (const int32_t routine : {7, 13}) {
        EffectRig half(from, to);
        half.engine.rate = 50;
        EXPECT_EQ(half.RunRoutine(routine), 0);
        EXPECT_EQ(half.frames[1].Pixel(0, 0), (Bgr{127, 128, 10})) << routine;
    }

    // The table fade equals the plain one for every pair of bytes (old x, new y) at every step.
    PixelBuffer xs(256, 256), ys(256, 256);
    for (int32_t y = 0; y < 256; ++y)
        for (int32_t x = 0; x < 256; ++x) {
            xs.SetPixel(x, y, Bgr{static_cast<uint8_t>(x), static_cast<uint8_t>(x), static_cast<uint8_t>(x)});
            ys.SetPixel(x, y, Bgr{static_cast<uint8_t>(y), static_cast<uint8_t>(y), static_cast<uint8_t>(y)});
        }
    EffectRig plain(xs, ys), table(xs, ys);
    plain.engine.rate = table.engine.rate = 3;
    EXPECT_EQ(plain.RunRoutine(7), 0);
    EXPECT_EQ(table.RunRoutine(13), 0);
    ASSERT_EQ(plain.drawn, Steps(35));
    EXPECT_EQ(table.frames, plain.frames);
    for (int32_t s = 0; s < 35; ++s)
        for (int32_t y = 0; y < 256; y += 15)
            for (int32_t x = 0; x < 256; x += 17)
                ASSERT_EQ(plain.frames[s].Pixel(x, y).g, x + (y - x) * std::min(3 * s, 100) / 100) << x << "," << y;
}

// Degrees, counterclockwise on the screen, from the middle of a 200 x 100 picture.
double Toward(double x, double y) { return std::atan2(50 - y, x - 100) * 180 / M_PI; }
double Turn(double degrees) { return std::fmod(std::fmod(degrees, 360) + 360, 360); }

// New inside the sectors that open counterclockwise from each of `starts` over `sweep` degrees;
// pixels near the centre or within 1.5 degrees of an edge are not judged.
void ExpectSectors(const EffectRig& rig, int32_t step, const std::vector<double>& starts, double sweep) {
    const PixelBuffer& frame = rig.frames[step];
    int32_t judged = 0;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            const double at = Toward(x + 0.5, y + 0.5);
            bool inside = false, near = std::hypot(x + 0.5 - 100, y + 0.5 - 50) < 4;
            for (const double from : starts) {
                const double into = Turn(at - from);
                inside |= into < sweep;
                near |= into < 1.5 || std::fabs(into - sweep) < 1.5 || into > 358.5;
            }
            if (near) continue;
            ++judged;
            ASSERT_EQ(frame.Pixel(x, y), (inside ? rig.newPicture : rig.oldPicture).Pixel(x, y))
                << "step " << step << " at " << x << "," << y;
        }
    EXPECT_GT(judged, 10000);
}

TEST(ClockWipe, SweepsFromTheStartAsThePointWalksTheBorder) {
    // 200 border pixels a step from the top middle: the bottom-right corner, the bottom-left,
    // then back at the start, where the new picture is complete.
    EffectRig clock(Noise(200, 100, 1), Noise(200, 100, 2));
    clock.engine.startX = 100;
    clock.engine.rate = 200;
    EXPECT_EQ(clock.RunRoutine(10), 0);
    EXPECT_EQ(clock.drawn, Steps(4));
    ExpectSectors(clock, 1, {Toward(200, 100)}, Turn(90 - Toward(200, 100)));
    ExpectSectors(clock, 2, {Toward(0, 100)}, Turn(90 - Toward(0, 100)));
    EXPECT_EQ(clock.output, clock.newPicture);

    // The beam, counterclockwise from the bottom middle: only the latest step's sector, then
    // one more step for the whole picture.
    EffectRig beam(Noise(200, 100, 1), Noise(200, 100, 2));
    beam.engine.startX = 100;
    beam.engine.startY = 100;
    beam.engine.direction = 1;
    beam.engine.rate = 200;
    beam.engine.style = 1;
    EXPECT_EQ(beam.RunRoutine(10), 0);
    EXPECT_EQ(beam.drawn, Steps(5));
    ExpectSectors(beam, 2, {Toward(200, 0)}, Turn(Toward(0, 0) - Toward(200, 0)));
    EXPECT_EQ(beam.output, beam.newPicture);

    // The presets on a screen-sized picture: every start point on the border, 3 steps, or 4 as beams.
    for (int32_t preset = 57; preset <= 72; ++preset) {
        EffectRig rig(Noise(200, 100, 1), Noise(200, 100, 2));
        EXPECT_EQ(rig.RunPreset(preset), 0);
        EXPECT_EQ(rig.drawn.size(), preset < 65 ? 4u : 5u) << preset;
    }
}

TEST(ClockWipe, EndsForAnyStartStyleRateAndDirection) {
    struct Case {
        int32_t x, y, style, rate, direction;
        std::size_t calls;
    };
    const Case cases[] = {
        {60, 30, 0, 200, 0, 2},     // on no border line: done at the first later step
        {1500, 900, 1, 200, 0, 3},  // the same off the picture, with the beam's extra step
        {960, 0, 0, 200, 0, 4},     // on the top line beyond the corner: a lap from (W, 0)
        {0, 400, 1, 100, 1, 8},     // on the left line below the picture: from (0, H), 6 steps and 1
        {100, 0, 2, 200, 0, 4},     // a style other than 0 or 1 ends as style 0
        {100, 0, 0, -7, 5, 601},    // a rate below 1 walks 1 pixel; any direction but 0 is counterclockwise
    };
    for (const Case& c : cases) {
        EffectRig rig(Noise(200, 100, 1), Noise(200, 100, 2));
        rig.engine.startX = c.x;
        rig.engine.startY = c.y;
        rig.engine.style = c.style;
        rig.engine.rate = c.rate;
        rig.engine.direction = c.direction;
        EXPECT_EQ(rig.RunRoutine(10), 0);
        EXPECT_EQ(rig.drawn.size(), c.calls) << c.x << "," << c.y;
        EXPECT_EQ(rig.output, rig.newPicture) << c.x << "," << c.y;
    }
}

TEST(Windmill, BladesOpenFromTheStartCornerTwentyDegreesAStep) {
    // One, two and three blades complete at steps 18, 9 and 6; the beam style takes one more.
    const std::pair<int32_t, std::size_t> counts[] = {{73, 19}, {81, 10}, {89, 7}, {97, 20}, {105, 11}, {113, 8}};
    for (const auto& [preset, calls] : counts) {
        EffectRig rig(Noise(200, 100, 1), Noise(200, 100, 2));
        EXPECT_EQ(rig.RunPreset(preset), 0);
        EXPECT_EQ(rig.drawn.size(), calls) << preset;
        EXPECT_EQ(rig.output, rig.newPicture) << preset;
    }
    // From (0, 0): three blades counterclockwise, two clockwise.
    const std::pair<int32_t, int32_t> turns[] = {{0, 3}, {1, 2}};
    for (const auto& [direction, blades] : turns) {
        EffectRig rig(Noise(200, 100, 1), Noise(200, 100, 2));
        rig.engine.rate = 20;
        rig.engine.bladeCount = blades;
        rig.engine.direction = direction;
        EXPECT_EQ(rig.RunRoutine(11), 0);
        const double sense = direction == 0 ? 1 : -1;
        for (const int32_t s : {1, 4}) {
            std::vector<double> starts;
            for (int32_t b = 0; b < blades; ++b)
                starts.push_back(Toward(0, 0) + sense * 360.0 / blades * b - (direction == 0 ? 0 : 20.0 * s));
            ExpectSectors(rig, s, starts, 20.0 * s);
        }
    }
}

// The 32-pixel blocks of a red-over-blue run, in the order the frames uncover them.
std::vector<std::pair<int32_t, int32_t>> Uncovered(const EffectRig& rig) {
    std::vector<std::pair<int32_t, int32_t>> order;
    for (const PixelBuffer& f : rig.frames)
        for (int32_t r = 0; r * 32 < f.Height(); ++r)
            for (int32_t c = 0; c * 32 < f.Width(); ++c)
                if (f.Pixel(c * 32 + 8, r * 32 + 8) == kNew && std::count(order.begin(), order.end(), std::pair{c, r}) == 0)
                    order.push_back({c, r});
    return order;
}

TEST(BlockSpiral, WindsInwardFromTheStartCorner) {
    using Order = std::vector<std::pair<int32_t, int32_t>>;
    const std::pair<int32_t, Order> cases[] = {
        {125, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}}},  // corner 0, clockwise
        {121, {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}}},  // corner 0, counterclockwise
        {127, {{2, 1}, {1, 1}, {0, 1}, {0, 0}, {1, 0}, {2, 0}}},  // corner 2, clockwise
    };
    for (const auto& [preset, order] : cases) {
        EffectRig rig(Solid(96, 64, kOld), Solid(96, 64, kNew));
        EXPECT_EQ(rig.RunPreset(preset), 0);
        EXPECT_EQ(Uncovered(rig), order) << preset;
    }
    // 12 x 6 blocks: 73 calls; one-pixel gaps in the smaller blocks, closed by a 74th.
    EffectRig plain(Noise(359, 180, 1), Noise(359, 180, 2));
    EXPECT_EQ(plain.RunPreset(121), 0);
    EXPECT_EQ(plain.drawn.size(), 73u);
    EffectRig gaps(Noise(359, 180, 1), Noise(359, 180, 2));
    EXPECT_EQ(gaps.RunPreset(129), 0);
    EXPECT_EQ(gaps.drawn.size(), 74u);
    const Point gapPixels[] = {{31, 5}, {5, 31}, {95, 95}};
    for (const auto& [x, y] : gapPixels)
        EXPECT_EQ(gaps.frames[72].Pixel(x, y), gaps.oldPicture.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(gaps.frames[72].Pixel(30, 30), gaps.newPicture.Pixel(30, 30));
    EXPECT_EQ(gaps.output, gaps.newPicture);
}

}  // namespace
}  // namespace kembo
