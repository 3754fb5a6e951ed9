// Nearest-neighbour stretch: the hot path of every composition, so the sampling is worked out
// once per call as a column map and a row map, and rows that repeat are copied whole.
#include <algorithm>
#include <cstring>
#include <vector>

#include "image/clip.h"
#include "image/pixel_ops.h"

namespace kembo {

namespace {

struct QuotRem {
    int64_t quot, rem;
};

// floor(a * b / c) and its remainder, for a, b, c < 2^40 and a quotient below 2^62. The product
// may exceed 64 bits and the Windows build has no 128-bit integer, so a is split in two.
QuotRem MulDivFloor(uint64_t a, uint64_t b, uint64_t c) {
    constexpr int kShift = 20;
    const uint64_t high = (a >> kShift) * b;
    const uint64_t rest = ((high % c) << kShift) + (a & ((uint64_t{1} << kShift) - 1)) * b;
    return {static_cast<int64_t>(((high / c) << kShift) + rest / c), static_cast<int64_t>(rest % c)};
}

// One axis of the stretch: the destination coordinates from dstBegin on that are visible and
// sample inside the source, and the source coordinate each of them takes.
struct AxisMap {
    int64_t dstBegin = 0;
    std::vector<int32_t> src;
};

AxisMap MapAxis(int32_t srcLeft, int64_t sw, int32_t srcLimit, int32_t dstLeft, int64_t dw, int32_t dstLimit) {
    const Span visible = Clip({dstLeft, dstLeft + dw}, dstLimit);
    if (visible.Empty()) return {};

    // Walk the formula incrementally: from one destination position to the next the numerator
    // (2i + 1) * sw grows by 2 * sw.
    const uint64_t denom = 2 * static_cast<uint64_t>(dw);
    const uint64_t i0 = static_cast<uint64_t>(visible.begin - dstLeft);
    QuotRem at = MulDivFloor(2 * i0 + 1, static_cast<uint64_t>(sw), denom);
    const int64_t stepQuot = static_cast<int64_t>(2 * static_cast<uint64_t>(sw) / denom);
    const int64_t stepRem = static_cast<int64_t>(2 * static_cast<uint64_t>(sw) % denom);
    std::vector<int64_t> wide(static_cast<std::size_t>(visible.Size()));
    for (int64_t& s : wide) {
        s = srcLeft + at.quot;
        at.quot += stepQuot;
        at.rem += stepRem;
        if (at.rem >= static_cast<int64_t>(denom)) {
            ++at.quot;
            at.rem -= static_cast<int64_t>(denom);
        }
    }
    // The map never decreases, so the part that samples inside the source is one run.
    const auto first = std::lower_bound(wide.begin(), wide.end(), int64_t{0});
    const auto last = std::lower_bound(first, wide.end(), int64_t{srcLimit});
    AxisMap map;
    map.dstBegin = visible.begin + (first - wide.begin());
    map.src.assign(first, last);
    return map;
}

void StretchRows(const PixelBuffer& src, PixelBuffer& dst, const AxisMap& cols, const AxisMap& rows,
                 bool sameWidth) {
    const std::size_t n = cols.src.size();
    const std::size_t bytes = n * 3;
    std::vector<uint32_t> offsets(n);
    for (std::size_t i = 0; i < n; ++i) offsets[i] = static_cast<uint32_t>(cols.src[i]) * 3;
    // Pixels are moved as 4-byte words, which reads one byte past the source pixel and writes one
    // past the destination pixel: safe except for the last destination pixel and for sources in
    // the last source column (which may end the whole store).
    const auto lastColumn = std::lower_bound(cols.src.begin(), cols.src.end(), src.Width() - 1);
    const std::size_t wordCount = std::min<std::size_t>(lastColumn - cols.src.begin(), n - 1);

    int32_t previousSrcRow = -1;
    const uint8_t* previousDst = nullptr;
    for (std::size_t j = 0; j < rows.src.size(); ++j) {
        uint8_t* d = dst.Row(static_cast<int32_t>(rows.dstBegin + static_cast<int64_t>(j))) + cols.dstBegin * 3;
        const int32_t srcRow = rows.src[j];
        const uint8_t* s = src.Row(srcRow);
        if (srcRow == previousSrcRow) {
            std::memcpy(d, previousDst, bytes);
        } else if (sameWidth) {
            std::memcpy(d, s + offsets[0], bytes);
        } else {
            std::size_t i = 0;
            for (; i < wordCount; ++i) std::memcpy(d + i * 3, s + offsets[i], 4);
            for (; i < n; ++i) {
                const uint8_t* p = s + offsets[i];
                d[i * 3] = p[0];
                d[i * 3 + 1] = p[1];
                d[i * 3 + 2] = p[2];
            }
        }
        previousSrcRow = srcRow;
        previousDst = d;
    }
}

}  // namespace

void StretchRect(const PixelBuffer& src, Rect srcRect, PixelBuffer& dst, Rect dstRect) {
    if (srcRect.Empty() || dstRect.Empty()) return;
    if (&src == &dst) {
        // Sampling must see the picture as it was before the call.
        const PixelBuffer before = src;
        StretchRect(before, srcRect, dst, dstRect);
        return;
    }
    const AxisMap cols =
        MapAxis(srcRect.left, srcRect.Width(), src.Width(), dstRect.left, dstRect.Width(), dst.Width());
    const AxisMap rows =
        MapAxis(srcRect.top, srcRect.Height(), src.Height(), dstRect.top, dstRect.Height(), dst.Height());
    if (cols.src.empty() || rows.src.empty()) return;
    StretchRows(src, dst, cols, rows, srcRect.Width() == dstRect.Width());
}

void StretchWhole(const PixelBuffer& src, PixelBuffer& dst, Rect dstRect) {
    StretchRect(src, Rect{0, 0, src.Width(), src.Height()}, dst, dstRect);
}

}  // namespace kembo
