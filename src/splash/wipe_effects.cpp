// The clock wipe and the windmill: sectors drawn into a mask, the new picture shown through it.
#include <algorithm>
#include <cmath>
#include <utility>

#include "base/numbers.h"
#include "image/blend.h"
#include "image/pixel_ops.h"
#include "splash/effect_routines.h"

namespace kembo {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

long double Radians(long double degrees) { return degrees * (kPi / 180.0L); }

// The new picture where the mask is white, the old one elsewhere. With pictures of different
// sizes: the old picture wherever the mask does not reach, the new one through the mask even
// where the old picture does not reach.
void MaskComposite(AMTEffect1& e, const Mask& mask) {
    const PixelBuffer &from = *e.oldPicture, &to = *e.newPicture;
    PixelBuffer& out = *e.output;
    const int32_t w = std::min(to.Width(), mask.Width()), h = std::min(to.Height(), mask.Height());
    if (from.Width() > w || from.Height() > h) DrawWhole(from, out);
    SelectByMask(from, to, mask, out);
    if (from.Width() < w || from.Height() < h) SelectByMask(out, to, mask, out);
}

// The first step, once the routine's geometry is set: an empty mask, the old picture whole.
int32_t StartSectors(AMTEffect1& e, EffectSize s) {
    e.working.complete = false;
    e.working.sectorMask.emplace(s.w, s.h);
    DrawWhole(*e.oldPicture, *e.output);
    return Finish(e, false);
}

// Whether a later step finds the routine set up, its mask made; if not (the effect already ended,
// or its first step never ran), it is over.
bool SectorsReady(const AMTEffect1& e, bool ready) { return ready && e.working.sectorMask.has_value(); }

// The mask's last frame: released with the routine's geometry.
int32_t Ended(AMTEffect1& e, bool& ready) {
    e.working.sectorMask.reset();
    ready = false;
    return Finish(e, true);
}

// ---- clock wipe

// A start point on the line of a border edge but beyond the rectangle would walk for ever: it
// is pulled onto the rectangle. Points on no edge's line stay where they are (and never move).
Point OntoBorder(Point p, EffectSize s) {
    const bool onALine = p.x == 0 || p.x == s.w || p.y == 0 || p.y == s.h;
    if (!onALine) return p;
    return Point{std::clamp(p.x, 0, s.w), std::clamp(p.y, 0, s.h)};
}

// 0 top, 1 right, 2 bottom, 3 left, -1 off the border; a corner starts on the edge the walk
// leaves it by.
int32_t EdgeOf(Point p, EffectSize s, bool ccw) {
    if (s.w < 1 || s.h < 1) return -1;  // no border to walk
    if (p == Point{0, 0}) return ccw ? 3 : 0;
    if (p == Point{s.w, 0}) return ccw ? 0 : 1;
    if (p == Point{s.w, s.h}) return ccw ? 1 : 2;
    if (p == Point{0, s.h}) return ccw ? 2 : 3;
    int32_t edge = -1;
    if (p.y == 0) edge = 0;
    if (p.x == s.w) edge = 1;
    if (p.y == s.h) edge = 2;
    if (p.x == 0) edge = 3;
    return edge;
}

int32_t StartClockWipe(AMTEffect1& e, EffectSize s) {
    ClockWipeStorage& c = e.working.clock;
    c = ClockWipeStorage{};
    c.ready = true;
    c.counterclockwise = e.direction != 0;
    c.width = s.w;
    c.height = s.h;
    c.start = OntoBorder(Point{e.startX, e.startY}, s);
    c.border = c.previous = c.start;
    c.edge = EdgeOf(c.start, s, c.counterclockwise);
    return StartSectors(e, s);
}

// ---- windmill

// A point at radius r and angle a about the centre, y up, each coordinate rounded up.
Point Polar(const WindmillStorage& m, long double a) {
    const int64_t x = Ceil(m.radius * std::cos(a));
    const int64_t y = Ceil(m.radius * std::sin(a));
    return Point{static_cast<int32_t>(m.centre.x + x), static_cast<int32_t>(m.centre.y - y)};
}

// More blades than degrees would only multiply the work of every step.
constexpr int32_t kMaxBlades = 360;

int32_t StartWindmill(AMTEffect1& e, EffectSize s) {
    WindmillStorage& m = e.working.windmill;
    m = WindmillStorage{};
    m.ready = true;
    m.clockwise = e.direction != 0;
    m.blades = std::clamp(e.bladeCount, 1, kMaxBlades);
    m.degreesPerStep = static_cast<int32_t>(AtLeastOne(e.rate));
    m.centre = Point{s.w / 2, s.h / 2};
    m.startAngle = std::atan2(static_cast<long double>(m.centre.y) - e.startY,
                              static_cast<long double>(e.startX) - m.centre.x);
    m.angleStep = Radians(m.degreesPerStep);
    m.spacing = Radians(360.0L / m.blades);
    m.radius = static_cast<int32_t>(Ceil(std::hypot(static_cast<long double>(m.centre.x), m.centre.y))) + 1;
    m.box = Rect{m.centre.x - m.radius, m.centre.y - m.radius, m.centre.x + m.radius, m.centre.y + m.radius};
    return StartSectors(e, s);
}

}  // namespace

void AdvanceBorderPoint(AMTEffect1& e) {
    ClockWipeStorage& c = e.working.clock;
    Point& p = c.border;
    const Point was = p;
    if (!c.counterclockwise) {
        switch (c.edge) {
            case 0: ++p.x; if (was.x == c.width - 1) c.edge = 1; break;
            case 1: ++p.y; if (was.y == c.height - 1) c.edge = 2; break;
            case 2: --p.x; if (was.x == 1) c.edge = 3; break;
            case 3: --p.y; if (was.y == 1) c.edge = 0; break;
            default: break;
        }
    } else {
        switch (c.edge) {
            case 0: --p.x; if (was.x == 1) c.edge = 3; break;
            case 3: ++p.y; if (was.y == c.height - 1) c.edge = 2; break;
            case 2: ++p.x; if (was.x == c.width - 1) c.edge = 1; break;
            case 1: --p.y; if (was.y == 1) c.edge = 0; break;
            default: break;
        }
    }
}

// Style 1 shows only the sector swept during the step, then one more step shows the whole new
// picture; every other style grows the sector from the start point and ends when the walk
// returns there.
int32_t ClockWipeEffect(AMTEffect1& e) {
    if (e.step == 0) return StartClockWipe(e, SizeOf(e));
    ClockWipeStorage& c = e.working.clock;
    if (!SectorsReady(e, c.ready)) return EndOnNewPicture(e);
    Mask& mask = *e.working.sectorMask;

    bool finished = false;
    if (e.working.complete) {
        mask.Fill(true);
        finished = true;
    } else {
        // The walk returns to the start within one lap, so the loop ends however far it is asked to go.
        const int64_t moves = std::max<int64_t>(int64_t{e.step} - e.lastStep, 0) * AtLeastOne(e.rate);
        for (int64_t i = 0; i < moves; ++i) {
            AdvanceBorderPoint(e);
            if (c.border == c.start) {
                e.working.complete = true;
                finished = e.style != 1;
                break;
            }
        }
        // An ellipse that contains the whole picture.
        const int32_t bx = static_cast<int32_t>(int64_t{3} * c.width / 2);
        const int32_t by = static_cast<int32_t>(int64_t{3} * c.height / 2);
        const Rect box{-bx, -by, c.width + bx, c.height + by};
        Point p = c.border;
        Point q = c.start;
        if (e.style == 1) {
            mask.Fill(false);
            q = c.previous;
            c.previous = c.border;
        }
        if (c.counterclockwise) std::swap(p, q);
        FillPie(mask, box, p, q);
    }
    MaskComposite(e, mask);
    return finished ? Ended(e, c.ready) : Finish(e, false);
}

// bladeCount sectors, evenly spaced, each opening by rate degrees a step: counterclockwise on
// the screen for direction 0, clockwise otherwise.
int32_t WindmillEffect(AMTEffect1& e) {
    if (e.step == 0) return StartWindmill(e, SizeOf(e));
    WindmillStorage& m = e.working.windmill;
    if (!SectorsReady(e, m.ready)) return EndOnNewPicture(e);
    Mask& mask = *e.working.sectorMask;

    bool finished = true;
    if (!e.working.complete) {
        long double sweep = e.step * m.angleStep;
        finished = false;
        // Whether the sweep has reached the spacing, decided in whole degrees so that an exact
        // meeting is never lost to rounding: step * rate >= 360 / blades.
        if (int64_t{e.step} * m.degreesPerStep >= (360 + m.blades - 1) / m.blades) {
            e.working.complete = true;
            sweep = m.spacing;
            finished = e.style == 0;
        }
        if (!finished) {
            if (e.style == 1) mask.Fill(false);
            const long double sense = m.clockwise ? -1.0L : 1.0L;
            long double a = m.startAngle;
            for (int32_t blade = 0; blade < m.blades; ++blade) {
                const long double from = e.style == 1 ? a + sense * (int64_t{e.step} - 1) * m.angleStep : a;
                Point p = Polar(m, from);
                Point q = Polar(m, a + sense * sweep);
                if (m.clockwise) std::swap(p, q);
                FillPie(mask, m.box, p, q);
                a += sense * m.spacing;
            }
        }
    }
    if (finished) mask.Fill(true);
    MaskComposite(e, mask);
    return finished ? Ended(e, m.ready) : Finish(e, false);
}

}  // namespace kembo
