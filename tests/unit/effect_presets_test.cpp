// Every preset at several sizes, pictures of different sizes, and routine parameters of every
// kind: each run ends, stays inside the pictures (the sanitizers watch) and ends on the new
// picture where the effect says so. Frame checksums guard the routines against changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "effect_rig.h"
#include "splash/effect_steps.h"

namespace kembo {
namespace {

using test::Checksum;
using test::EffectRig;
using test::Noise;

// Presets 26 to 29 end on the fill colour (black); every other ends on the new picture.
bool EndsOnFill(int32_t preset) { return preset >= 26 && preset <= 29; }

TEST(EffectPresets, EveryPresetEndsOnItsLastFrameAtEverySize) {
    const Point sizes[] = {{359, 180}, {101, 61}, {1, 1}};
    for (const Point& p : sizes)
        for (const Point& screen : {p, Point{1024, 768}})
            for (int32_t preset = 0; preset < kPresetCount; ++preset) {
                SCOPED_TRACE(std::to_string(preset) + " on " + std::to_string(p.x) + " x " + std::to_string(p.y) +
                             ", screen " + std::to_string(screen.x));
                EffectRig rig(Noise(p.x, p.y, 1), Noise(p.x, p.y, 2));
                ASSERT_EQ(rig.RunPreset(preset, screen.x, screen.y), 0);
                EXPECT_EQ(rig.states.size(), rig.drawn.size() + 1);
                EXPECT_EQ(rig.states.back(), kFinished);
                EXPECT_EQ(rig.output, EndsOnFill(preset) ? PixelBuffer(p.x, p.y) : rig.newPicture);
                EXPECT_FALSE(rig.engine.HoldsWorkingStorage());
            }
}

TEST(EffectPresets, PicturesOfDifferentSizesEndOnTheNewPictureWhereItReaches) {
    struct Sizes {
        Point old, out;
    };
    const Sizes cases[] = {{{80, 90}, {120, 50}}, {{150, 70}, {90, 80}}, {{3, 2}, {101, 61}}};
    for (const Sizes& c : cases)
        for (int32_t preset = 0; preset < kPresetCount; ++preset) {
            SCOPED_TRACE(std::to_string(preset) + ", old " + std::to_string(c.old.x) + " x " + std::to_string(c.old.y));
            EffectRig rig(Noise(c.old.x, c.old.y, 1), Noise(101, 61, 2));
            rig.output = Noise(c.out.x, c.out.y, 3);
            ASSERT_EQ(rig.RunPreset(preset, 1024, 768), 0);
            if (EndsOnFill(preset)) continue;
            for (int32_t y = 0; y < std::min(61, c.out.y); ++y)
                for (int32_t x = 0; x < std::min(101, c.out.x); ++x)
                    ASSERT_EQ(rig.output.Pixel(x, y), rig.newPicture.Pixel(x, y)) << x << "," << y;
        }
    EffectRig empty(Noise(10, 10, 1), PixelBuffer());
    for (int32_t preset = 0; preset < kPresetCount; ++preset) EXPECT_EQ(empty.RunPreset(preset), 0) << preset;
}

TEST(EffectRoutines, EveryRoutineEndsWhateverItsParameters) {
    const int32_t values[] = {INT_MIN, -1000, -1, 0, 1, 2, 3, 7, 16, 1000, INT_MAX};
    for (int32_t routine = 0; routine < kRoutineCount; ++routine)
        for (const int32_t v : values)
            for (const int32_t other : {0, 1, 16}) {
                SCOPED_TRACE("routine " + std::to_string(routine) + ": " + std::to_string(v) + ", " + std::to_string(other));
                EffectRig rig(Noise(23, 17, 1), Noise(23, 17, 2));
                AMTEffect1& e = rig.engine;
                // Every second parameter at v, the others at a plain value, so that odd and
                // meaningful values meet.
                int32_t* fields[] = {&e.variant, &e.reverseX,    &e.reverseY,   &e.direction,   &e.periodX, &e.periodY,
                                     &e.bitsPerStep, &e.stepX,   &e.stepY,      &e.startCorner, &e.startX,  &e.startY,
                                     &e.blockWidth,  &e.blockHeight, &e.bladeCount, &e.rate,    &e.oldMode, &e.style};
                for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = i % 2 ? other : v;
                e.fillColor = static_cast<Color>(v);
                e.skipInitialCopy = static_cast<uint8_t>(v);
                rig.onFrame = [](AMTEffect1& engine) { return engine.lastStep > 100000 ? -9 : 0; };
                EXPECT_EQ(rig.RunRoutine(routine), 0);
            }
}

// The step count that paces a run is the one an untimed run ends on; a run that leaves steps
// out (as a paced one does) still ends on the new picture, the routines catching up.
TEST(EffectPresets, LastStepIsKnownBeforehandAndLeftOutStepsAreCaughtUp) {
    const Point sizes[] = {{101, 61}, {40, 3}, {1, 1}};
    for (const Point& p : sizes)
        for (int32_t preset = 0; preset < kPresetCount; ++preset) {
            SCOPED_TRACE(std::to_string(preset) + " on " + std::to_string(p.x) + " x " + std::to_string(p.y));
            EffectRig untimed(Noise(p.x, p.y, 1), Noise(p.x, p.y, 2));
            untimed.engine.SelectEffect(preset, p.x, p.y);
            const std::optional<int32_t> last = LastEffectStep(untimed.engine);
            ASSERT_EQ(untimed.engine.Run(), 0);
            ASSERT_TRUE(last.has_value());
            EXPECT_EQ(*last, untimed.drawn.back());

            for (const int32_t stride : {2, 7}) {
                EffectRig paced(Noise(p.x, p.y, 1), Noise(p.x, p.y, 2));
                paced.engine.SelectEffect(preset, p.x, p.y);
                ASSERT_EQ(paced.engine.Begin(), 1);
                int32_t result = 1;
                for (int32_t step = 0; result > 0; step = std::min(step + stride, *last))
                    result = paced.engine.DrawStep(step);
                EXPECT_EQ(result, 0);
                EXPECT_EQ(paced.engine.state, kFinished);
                EXPECT_EQ(paced.output, EndsOnFill(preset) ? PixelBuffer(p.x, p.y) : paced.newPicture);
            }
        }
}

// A checksum over every frame of each preset's run on 101 x 61 noise, the screen as large.
TEST(EffectPresets, FrameChecksumsStayTheSame) {
    const uint32_t expected[kPresetCount] = {
        0xC28CE215, 0xF7305D2B, 0x38EF0945, 0x12E89206, 0xF4D4AAB8, 0xA0BE4EBE,
        0x760867F7, 0xCCB26829, 0xF4E04BA7, 0xE4191022, 0xC99D9DE0, 0x13AFBE0F,
        0xD36312FD, 0xB1A67A7E, 0x7A68C2A0, 0x1A7739D3, 0xB50EA7A1, 0x37BEFE26,
        0x0B3CC737, 0x4367E302, 0x2EC70726, 0x15A73500, 0x832C128A, 0x3C977B52,
        0xA35029A5, 0x177BA5B2, 0xF021F9FB, 0xBB8CE7C1, 0xC8084A2A, 0xDBFA828F,
        0x1F3A7CBC, 0xEE116BFF, 0x6383D8B8, 0x1BD58094, 0x2D14D552, 0x0822FF24,
        0x0BC94274, 0xB02855EC, 0x2428E79A, 0xAB359434, 0xD04AA920, 0xF2B92833,
        0xDCFC40C1, 0xCD9C1480, 0xF8A40E4C, 0x24CF9840, 0xDC82AA93, 0xCDA4AA0D,
        0x9F852748, 0x537689D9, 0xF98761F3, 0xFF7B352A, 0xFE9FA9A6, 0xBD3B1998,
        0x391173E8, 0x6F9E7836, 0x6B9F88EE, 0x29A2ABE8, 0x328D68D3, 0xAB477573,
        0x5BB31FB4, 0xEAAE9989, 0xA764516E, 0xEF7E333F, 0xF3CFA075, 0xD71611F7,
        0x4520E3E5, 0x3507924D, 0x8F647B5B, 0x9F2F681D, 0x3D608B33, 0x2E89BD01,
        0x3ADFE291, 0x5B374E34, 0xFC953F97, 0xC514EE29, 0xDE4F2B2D, 0xFB7DABF9,
        0x992F8D67, 0x1173378E, 0xFD26FCCB, 0xDA14DCCA, 0xCFB904A9, 0xC9853D24,
        0x3F04F927, 0x2DFEE826, 0x936F0D50, 0x874C0242, 0xBE030B92, 0x16564BF6,
        0x3DE5D0E3, 0xA6B7C126, 0x2A4F8EAD, 0xBAD777BB, 0xE74C8EB3, 0x44319833,
        0xA1F82A2B, 0x35123A81, 0x9853B8FA, 0x0A3F77F1, 0x8F7CC91C, 0x8A0799E3,
        0x54084E7A, 0x74D446AF, 0xDE433A78, 0xDA268466, 0x3B2C2E59, 0xF0F9FD78,
        0xF2F3D245, 0xFF3B9E6A, 0x226E18B1, 0x7200B570, 0xD8D2A3D9, 0xC6DFD639,
        0x708E96BA, 0x2876CD3D, 0x4D52B678, 0xE10A2A67, 0x245ACF6E, 0x2CCC2E57,
        0xD4820E88, 0xA419974B, 0x7F57248A, 0x953397EB, 0xB9E12BC2, 0xF0AA4D41,
        0x2940AB92, 0xA3C42B0D, 0xB68A47FE, 0xDA920CDD, 0xD98BBCB6, 0x98B15A69,
        0x5F13EF7A, 0x8C1F39E7, 0x48B3EFDE, 0xDAD42E4B, 0xB25D3BCA, 0x593ABE4C,
    };
    uint32_t actual[kPresetCount];
    for (int32_t preset = 0; preset < kPresetCount; ++preset) {
        EffectRig rig(Noise(101, 61, 1), Noise(101, 61, 2));
        rig.RunPreset(preset);
        actual[preset] = 2166136261u;
        for (const PixelBuffer& frame : rig.frames) actual[preset] = Checksum(frame, actual[preset]);
        EXPECT_EQ(actual[preset], expected[preset]) << "preset " << preset;
    }
    // After a deliberate change, the new table to paste above.
    if (::testing::Test::HasFailure())
        for (int32_t i = 0; i < kPresetCount; ++i) std::printf("0x%08X,%s", actual[i], i % 6 == 5 ? "\n" : " ");
}

}  // namespace
}  // namespace kembo
