#pragma once
// Half-open coordinate ranges in 64 bits, so that clipping arithmetic on any 32-bit edges
// never overflows. Internal to the pixel operations.
#include <algorithm>
#include <cstdint>

namespace kembo {

struct Span {
    int64_t begin = 0, end = 0;
    bool Empty() const { return end <= begin; }
    int64_t Size() const { return end - begin; }
};

inline Span Intersect(Span a, Span b) { return Span{std::max(a.begin, b.begin), std::min(a.end, b.end)}; }
// The part of s inside [0, limit).
inline Span Clip(Span s, int64_t limit) { return Intersect(s, Span{0, limit}); }

// a + b pinned to the 64-bit range: an edge that far out lies outside every buffer either way.
inline int64_t SatAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? INT64_MAX : INT64_MIN;
}
inline int64_t SatSub(int64_t a, int64_t b) {
    int64_t difference = 0;
    if (!__builtin_sub_overflow(a, b, &difference)) return difference;
    return b < 0 ? INT64_MAX : INT64_MIN;
}

}  // namespace kembo
