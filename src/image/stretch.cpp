// Nearest-neighbour stretch: the hot path of every composition, so the sampling is worked out
// once per call as a column map and a row map, rows that repeat are copied whole, a nearly 1:1
// width is copied in blocks of neighbouring pixels, and the brightness, when asked for, is
// applied to each new row while it is still in the cache.
#include <algorithm>
#include <cstring>
#include <vector>

#include "image/brightness.h"
#include "image/clip.h"
#include "image/gather.h"
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

// Neighbouring source pixels copied as one block: byte offsets in the destination and source rows.
struct Run {
    uint32_t dst, src, bytes;
};

// How every new destination row is put together from its source row, worked out once.
struct RowPlan {
    std::vector<uint32_t> offsets;  // source byte offset of each destination pixel
    // Leading pixels that may move as 4-byte words: one byte more is read, which the last source
    // column may not have (it can end the store), and one more written, which the last
    // destination pixel may not have (it belongs to a pixel outside the stretch).
    std::size_t words = 0;
    // When the pixels come in long runs of neighbours (a nearly 1:1 width), the runs instead.
    std::vector<Run> runs;
    std::size_t bytes = 0;  // of one destination row
};

// Runs shorter than this on average are not worth a copy call each.
constexpr std::size_t kMinAverageRun = 8;

RowPlan PlanRows(const AxisMap& cols, int32_t srcWidth) {
    RowPlan plan;
    const std::size_t n = cols.src.size();
    plan.bytes = n * 3;
    plan.offsets.resize(n);
    for (std::size_t i = 0; i < n; ++i) plan.offsets[i] = static_cast<uint32_t>(cols.src[i]) * 3;
    const auto lastColumn = std::lower_bound(cols.src.begin(), cols.src.end(), srcWidth - 1);
    plan.words = std::min<std::size_t>(lastColumn - cols.src.begin(), n - 1);

    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && cols.src[i] == cols.src[i - 1] + 1) {
            plan.runs.back().bytes += 3;
        } else {
            if (plan.runs.size() * kMinAverageRun >= n) {
                plan.runs.clear();
                break;
            }
            plan.runs.push_back(Run{static_cast<uint32_t>(i * 3), plan.offsets[i], 3});
        }
    }
    return plan;
}

void BuildRow(uint8_t* d, const uint8_t* s, const uint8_t* next, const RowPlan& plan) {
    if (plan.runs.empty()) {
        GatherPixels(d, s, next, plan.offsets.data(), plan.offsets.size(), plan.words);
        return;
    }
    for (const Run& run : plan.runs) std::memcpy(d + run.dst, s + run.src, run.bytes);
}

void StretchRows(const PixelBuffer& src, PixelBuffer& dst, const AxisMap& cols, const AxisMap& rows,
                 int32_t brightness) {
    const RowPlan plan = PlanRows(cols, src.Width());
    const std::size_t count = rows.src.size();
    for (std::size_t j = 0; j < count; ++j) {
        uint8_t* d = dst.Row(static_cast<int32_t>(rows.dstBegin + static_cast<int64_t>(j))) + cols.dstBegin * 3;
        if (j > 0 && rows.src[j] == rows.src[j - 1]) {
            // The row above, already scaled.
            std::memcpy(d, d - dst.Stride(), plan.bytes);
            continue;
        }
        const uint8_t* next = src.Row(rows.src[std::min(j + 1, count - 1)]);
        BuildRow(d, src.Row(rows.src[j]), next, plan);
        // While the row is still in the cache.
        if (brightness != 100) ScaleBytes(d, plan.bytes, brightness);
    }
}

void Stretch(const PixelBuffer& src, Rect srcRect, PixelBuffer& dst, Rect dstRect, int32_t brightness) {
    if (srcRect.Empty() || dstRect.Empty()) return;
    if (&src == &dst) {
        // Sampling must see the picture as it was before the call.
        const PixelBuffer before = src;
        Stretch(before, srcRect, dst, dstRect, brightness);
        return;
    }
    const AxisMap cols =
        MapAxis(srcRect.left, srcRect.Width(), src.Width(), dstRect.left, dstRect.Width(), dst.Width());
    const AxisMap rows =
        MapAxis(srcRect.top, srcRect.Height(), src.Height(), dstRect.top, dstRect.Height(), dst.Height());
    if (cols.src.empty() || rows.src.empty()) return;
    StretchRows(src, dst, cols, rows, brightness);
}

}  // namespace

void StretchRect(const PixelBuffer& src, Rect srcRect, PixelBuffer& dst, Rect dstRect) {
    Stretch(src, srcRect, dst, dstRect, 100);
}

void StretchRect(const PixelBuffer& src, Rect srcRect, PixelBuffer& dst, Rect dstRect, int32_t brightness) {
    Stretch(src, srcRect, dst, dstRect, brightness);
}

void StretchWhole(const PixelBuffer& src, PixelBuffer& dst, Rect dstRect) {
    StretchRect(src, Rect{0, 0, src.Width(), src.Height()}, dst, dstRect);
}

}  // namespace kembo
