// The pie of the clock and windmill wipes, drawn into a mask exactly in integers.
//
// Coordinates are doubled, so that pixel centres and the ellipse centre are whole numbers:
// a pixel (x, y) sits at u = 2x + 1 - (left + right) across and w = (top + bottom) - (2y + 1) up
// from the centre. Products of these reach about 2^70, beyond 64 bits, and the Windows build has
// no 128-bit integer, hence the small wide arithmetic below.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "image/clip.h"
#include "image/fill_bytes.h"
#include "image/pixel_ops.h"

namespace kembo {

namespace {

struct U128 {
    uint64_t hi = 0, lo = 0;
};

U128 Multiply(uint64_t a, uint64_t b) {
    constexpr uint64_t kLow = 0xFFFFFFFF;
    // Pictures keep the factors within 32 bits: one multiply, also on a 32-bit machine.
    if (a <= kLow && b <= kLow) return U128{0, uint64_t{static_cast<uint32_t>(a)} * static_cast<uint32_t>(b)};
    const uint64_t ll = (a & kLow) * (b & kLow);
    const uint64_t lh = (a & kLow) * (b >> 32);
    const uint64_t hl = (a >> 32) * (b & kLow);
    const uint64_t hh = (a >> 32) * (b >> 32);
    const uint64_t mid = (ll >> 32) + (lh & kLow) + (hl & kLow);
    return U128{hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & kLow)};
}

int Compare(U128 a, U128 b) {
    if (a.hi != b.hi) return a.hi < b.hi ? -1 : 1;
    if (a.lo != b.lo) return a.lo < b.lo ? -1 : 1;
    return 0;
}

uint64_t Magnitude(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }
int Sign(int64_t v) { return (v > 0) - (v < 0); }

// The sign of a * b - c * d.
int SignOfDifference(int64_t a, int64_t b, int64_t c, int64_t d) {
    const int left = Sign(a) * Sign(b);
    const int right = Sign(c) * Sign(d);
    if (left != right) return left > right ? 1 : -1;
    const int byMagnitude = Compare(Multiply(Magnitude(a), Magnitude(b)), Multiply(Magnitude(c), Magnitude(d)));
    return left >= 0 ? byMagnitude : -byMagnitude;
}

struct Vec {
    int64_t x, y;
};

int Cross(Vec a, Vec b) { return SignOfDifference(a.x, b.y, a.y, b.x); }
int Dot(Vec a, Vec b) { return SignOfDifference(a.x, b.x, -a.y, b.y); }

// Whether (u, w) lies in the closed ellipse of doubled axes width and height:
// (u * height)^2 + (w * width)^2 <= (width * height)^2. Callers keep |u| < width and |w| < height,
// so each factor fits 64 bits; a sum that carries out of 128 bits is outside.
bool InEllipse(int64_t u, int64_t w, uint64_t width, uint64_t height) {
    const U128 a = Multiply(Magnitude(u) * height, Magnitude(u) * height);
    const U128 b = Multiply(Magnitude(w) * width, Magnitude(w) * width);
    U128 sum{a.hi + b.hi, a.lo + b.lo};
    bool carriedOut = sum.hi < a.hi;
    if (sum.lo < a.lo) carriedOut |= ++sum.hi == 0;
    if (carriedOut) return false;
    return Compare(sum, Multiply(width * height, width * height)) <= 0;
}

// The first x of range where a predicate, false and then true along the range, holds.
template <typename Pred>
int64_t FirstWhere(Span range, Pred holds) {
    while (range.begin < range.end) {
        const int64_t mid = range.begin + (range.end - range.begin) / 2;
        if (holds(mid)) {
            range.end = mid;
        } else {
            range.begin = mid + 1;
        }
    }
    return range.begin;
}

// The same, starting from a guess at the answer and widening the search from there in doubling
// steps: a good guess costs a handful of tests instead of a full binary search.
template <typename Pred>
int64_t FirstWhereNear(Span range, long double guess, Pred holds) {
    if (range.Empty()) return range.begin;
    const long double limited = std::clamp<long double>(guess, range.begin, range.end - 1);
    const int64_t at = std::isfinite(limited) ? static_cast<int64_t>(limited) : range.begin;
    int64_t step = 1;
    if (holds(at)) {
        // The answer is in (low, at]: walk left until the predicate fails.
        int64_t high = at, low = at - 1;
        while (low >= range.begin && holds(low)) {
            high = low;
            low = std::max(low - step, range.begin - 1);
            step *= 2;
        }
        return FirstWhere({low + 1, high}, holds);
    }
    // The answer is in (at, high]: walk right until the predicate holds.
    int64_t low = at, high = at + 1;
    while (high < range.end && !holds(high)) {
        low = high;
        high = std::min(high + step, range.end);
        step *= 2;
    }
    return FirstWhere({low + 1, high}, holds);
}

struct Ellipse {
    int64_t left, right, sumX, sumY;
    uint64_t width, height;

    int64_t U(int64_t x) const { return 2 * x + 1 - sumX; }

    // The pixels of row y inside the ellipse: one run, symmetric about the centre.
    Span Row(int64_t y) const {
        const int64_t w = sumY - (2 * y + 1);
        const auto outside = [&](int64_t x) { return !InEllipse(U(x), w, width, height); };
        const int64_t middle = left + static_cast<int64_t>((width - 1) / 2);  // smallest |u|
        if (outside(middle)) return {};
        // Inside while |u| <= width * sqrt(1 - (w / height)^2), which gives the guess.
        const long double ratio = static_cast<long double>(w) / static_cast<long double>(height);
        const long double reach = static_cast<long double>(width) * std::sqrt(std::max(0.0L, 1.0L - ratio * ratio));
        const int64_t end = FirstWhereNear({middle, right}, std::floor((reach + sumX - 1) / 2) + 1, outside);
        return {sumX - end, end};
    }

    // Whether every pixel of the non-empty rows x columns lies inside: so are its corners, the
    // ellipse being convex.
    bool Holds(Span rows, Span columns) const {
        const auto inside = [&](int64_t x, int64_t y) { return InEllipse(U(x), sumY - (2 * y + 1), width, height); };
        return inside(columns.begin, rows.begin) && inside(columns.end - 1, rows.begin) &&
               inside(columns.begin, rows.end - 1) && inside(columns.end - 1, rows.end - 1);
    }
};

bool Fits31Bits(int64_t v) { return v > -(int64_t{1} << 31) && v < (int64_t{1} << 31); }

// floor(a / b) for b > 0, with one division.
int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return q * b > a ? q - 1 : q;
}

// The part of range (one row, at height w) where cross(a, (u, w)) >= 0. Along a row the cross
// product is linear in x, so that part is a run at one end of the range.
Span HalfPlane(const Ellipse& e, Vec a, int64_t w, Span range) {
    const auto holds = [&](int64_t x) { return Cross(a, Vec{e.U(x), w}) >= 0; };
    if (range.Empty()) return range;
    if (a.y == 0) return holds(range.begin) ? range : Span{};
    const auto within = [&](int64_t x) { return std::clamp(x, range.begin, range.end); };
    if (Fits31Bits(a.x) && Fits31Bits(a.y) && Fits31Bits(w) && Fits31Bits(e.sumX)) {
        // Small enough to solve a.x * w - a.y * u >= 0 for u exactly, with u = 2x + 1 - sumX.
        const int64_t product = a.x * w;
        if (a.y > 0) {  // u <= floor(product / a.y): up to the first x beyond
            const int64_t last = (FloorDiv(product, a.y) + e.sumX - 1) >> 1;  // floor of half
            return {range.begin, within(last + 1)};
        }
        // u >= ceil(-product / -a.y), from the first x there
        const int64_t least = -FloorDiv(product, -a.y);
        return {within(-(-(least + e.sumX - 1) >> 1)), range.end};  // ceiling of half
    }
    // The cross product changes sign where u = a.x * w / a.y: the guess.
    const long double u = static_cast<long double>(a.x) * static_cast<long double>(w) / static_cast<long double>(a.y);
    const long double x = std::floor((u + e.sumX - 1) / 2);
    if (a.y > 0) return {range.begin, FirstWhereNear(range, x + 1, [&](int64_t at) { return !holds(at); })};
    return {FirstWhereNear(range, x, holds), range.end};
}

void Whiten(Mask& mask, int64_t y, Span xs) {
    if (xs.Empty()) return;
    FillBytes(mask.Row(static_cast<int32_t>(y)) + xs.begin, 0xFF, static_cast<std::size_t>(xs.Size()));
}

}  // namespace

void FillPie(Mask& mask, Rect box, Point p, Point q) {
    if (box.Empty()) return;
    const Ellipse e{box.left, box.right, int64_t{box.left} + box.right, int64_t{box.top} + box.bottom,
                    static_cast<uint64_t>(box.Width()), static_cast<uint64_t>(box.Height())};
    const auto direction = [&](Point pt) {
        const Vec v{2 * int64_t{pt.x} - e.sumX, e.sumY - 2 * int64_t{pt.y}};
        return (v.x == 0 && v.y == 0) ? Vec{1, 0} : v;
    };
    const Vec from = direction(p);
    const Vec to = direction(q);
    // Inside the sector: cross(from, d) >= 0 and cross(d, to) >= 0, that is cross(-to, d) >= 0.
    const Vec toNegated{-to.x, -to.y};
    const int turn = Cross(from, to);
    const bool whole = turn == 0 && Dot(from, to) > 0;

    const Span rows = Clip({box.top, box.bottom}, mask.Height());
    const Span columns = Clip({box.left, box.right}, mask.Width());
    if (rows.Empty() || columns.Empty()) return;
    // The wipes' ellipses reach beyond the whole mask, which saves finding each row's ends.
    const bool covered = e.Holds(rows, columns);
    for (int64_t y = rows.begin; y < rows.end; ++y) {
        const Span run = covered ? columns : Intersect(e.Row(y), columns);
        if (run.Empty()) continue;
        if (whole) {
            Whiten(mask, y, run);
            continue;
        }
        const int64_t w = e.sumY - (2 * y + 1);
        const Span afterFrom = HalfPlane(e, from, w, run);
        if (turn == 0) {
            Whiten(mask, y, afterFrom);  // half the ellipse
            continue;
        }
        const Span beforeTo = HalfPlane(e, toNegated, w, run);
        if (turn > 0) {
            Whiten(mask, y, Intersect(afterFrom, beforeTo));
        } else {
            Whiten(mask, y, afterFrom);
            Whiten(mask, y, beforeTo);
        }
    }
}

}  // namespace kembo
