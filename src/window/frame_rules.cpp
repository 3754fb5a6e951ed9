#include "window/frame_rules.h"

#include <limits>

#include "base/numbers.h"

namespace kembo {

HitZone EdgeZone(int32_t x, int32_t y, int32_t w, int32_t h, int32_t pos) {
    if (pos == 3) return kHitClient;
    constexpr int32_t kEdge = 10;
    const bool left = x < kEdge;
    const bool right = static_cast<int64_t>(x) > static_cast<int64_t>(w) - kEdge;
    const bool top = y < kEdge;
    const bool bottom = static_cast<int64_t>(y) > static_cast<int64_t>(h) - kEdge;
    if (bottom && left) return kHitBottomLeft;
    if (bottom && right) return kHitBottomRight;
    if (top && left) return kHitTopLeft;
    if (top && right) return kHitTopRight;
    if (left) return kHitLeft;
    if (right) return kHitRight;
    if (bottom) return kHitBottom;
    if (top) return kHitTop;
    return kHitClient;
}

ZOrderMode ZOrderFor(int32_t pos) {
    constexpr uint32_t kNoSize = 0x0001, kNoMove = 0x0002, kNoActivate = 0x0010;
    switch (pos) {
    case 0: return {true, InsertAfter::NoTopmost, kNoMove | kNoSize, true, false};
    case 1: return {true, InsertAfter::Topmost, kNoMove | kNoSize, true, false};
    case 2: return {true, InsertAfter::Bottom, kNoMove | kNoSize | kNoActivate, true, true};
    case 3: return {true, InsertAfter::Bottom, kNoMove | kNoSize | kNoActivate, false, true};
    default: return {false, InsertAfter::NoTopmost, 0, true, false};
    }
}

namespace {

// round(side × a / b), halves to even. The product is taken in 64 bits: a 32-bit one would
// wrap for large windows and pictures and give a nonsense size.
std::optional<int32_t> Scaled(const Settings& s, int32_t side, int64_t a, int64_t b) {
    if (s.fn_bgg.empty() || a <= 0 || b <= 0) return std::nullopt;
    const long double value = static_cast<long double>(static_cast<int64_t>(side) * a) / b;
    const int64_t rounded = Round(value);
    if (rounded > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (rounded < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

int64_t RangeWidth(const Settings& s) { return static_cast<int64_t>(s.val_fposex) - s.val_fpossx; }
int64_t RangeHeight(const Settings& s) { return static_cast<int64_t>(s.val_fposey) - s.val_fpossy; }

}  // namespace

std::optional<int32_t> WidthFromHeight(const Settings& s) {
    if (RangeWidth(s) <= 0 || RangeHeight(s) <= 0) return std::nullopt;
    return Scaled(s, s.height, RangeWidth(s), RangeHeight(s));
}

std::optional<int32_t> HeightFromWidth(const Settings& s) {
    if (RangeWidth(s) <= 0 || RangeHeight(s) <= 0) return std::nullopt;
    return Scaled(s, s.width, RangeHeight(s), RangeWidth(s));
}

}  // namespace kembo
