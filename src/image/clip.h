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

}  // namespace kembo
