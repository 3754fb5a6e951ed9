#include "image/pixel_ops.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/clip.h"
#include "image/fill_bytes.h"

namespace kembo {

namespace {

uint8_t* At(PixelBuffer& buffer, int64_t x, int64_t y) {
    return buffer.Row(static_cast<int32_t>(y)) + x * 3;
}

// Applies op(pixelBytes, byteCount) to the clipped part of rect, row by row.
template <typename Op>
void ForEachRowSpan(PixelBuffer& buffer, Rect rect, Op op) {
    const Span xs = Clip({rect.left, rect.right}, buffer.Width());
    const Span ys = Clip({rect.top, rect.bottom}, buffer.Height());
    if (xs.Empty() || ys.Empty()) return;
    for (int64_t y = ys.begin; y < ys.end; ++y) op(At(buffer, xs.begin, y), static_cast<std::size_t>(xs.Size() * 3));
}

void Invert(uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) p[i] ^= 0xFF;
}

// The rows of one buffer painted with one colour: paint the first, duplicate it.
void FillRows(PixelBuffer& buffer, Span xs, Span ys, Bgr colour) {
    if (xs.Empty() || ys.Empty()) return;
    const std::size_t bytes = static_cast<std::size_t>(xs.Size() * 3);
    uint8_t* first = At(buffer, xs.begin, ys.begin);
    if (colour.b == colour.g && colour.g == colour.r) {
        FillBytes(first, colour.b, bytes);
    } else {
        for (std::size_t i = 0; i < bytes; i += 3) {
            first[i] = colour.b;
            first[i + 1] = colour.g;
            first[i + 2] = colour.r;
        }
    }
    for (int64_t y = ys.begin + 1; y < ys.end; ++y) std::memcpy(At(buffer, xs.begin, y), first, bytes);
}

// Copies n bytes between places that do not overlap (or are the same), n small as a rule: a
// call to the C library costs more than the copy then.
void CopySmall(uint8_t* d, const uint8_t* s, std::size_t n) {
#if defined(__SSE2__)
    // A 32-bit machine has too few registers for two 8-byte words: vector registers hold them.
    if (n > 256) {
        std::memcpy(d, s, n);
    } else if (n > 32) {
        for (std::size_t i = 0; i + 16 < n; i += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 16),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + n - 16)));
    } else if (n >= 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + n - 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), head);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 16), tail);
    } else if (n >= 8) {
        const __m128i head = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
        const __m128i tail = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + n - 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d), head);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + n - 8), tail);
    } else {
        for (std::size_t i = 0; i < n; ++i) d[i] = s[i];
    }
#else
    std::memcpy(d, s, n);
#endif
}

// A mask value spread to all bits, as the raster operations see it.
uint8_t MaskBits(uint8_t m) { return m != 0 ? 0xFF : 0x00; }

template <typename Op>
void CombineWithMask(PixelBuffer& buffer, const Mask& mask, Op op) {
    const int32_t w = std::min(buffer.Width(), mask.Width());
    const int32_t h = std::min(buffer.Height(), mask.Height());
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* p = buffer.Row(y);
        const uint8_t* m = mask.Row(y);
        for (int32_t x = 0; x < w; ++x, p += 3) {
            const uint8_t bits = op(MaskBits(m[x]));
            p[0] &= bits;
            p[1] &= bits;
            p[2] &= bits;
        }
    }
}

// The pixel at position k of the outline (see DrawInvertedDashedFrame) is inverted when lit.
constexpr int64_t kDashOn = 4;
constexpr int64_t kDashPeriod = 8;
bool DashLit(int64_t k) { return k % kDashPeriod < kDashOn; }

// Inverts the lit pixels of one straight run of the outline: positions from first to last
// (inclusive, along one axis), where the pixel at coordinate c has outline index k0 + dir * (c - first).
void InvertRowRun(PixelBuffer& buffer, int64_t y, int64_t x0, int64_t x1, int64_t kAtX0, int64_t dir) {
    if (y < 0 || y >= buffer.Height()) return;
    const Span xs = Clip({x0, x1 + 1}, buffer.Width());
    for (int64_t x = xs.begin; x < xs.end; ++x) {
        if (DashLit(kAtX0 + dir * (x - x0))) Invert(At(buffer, x, y), 3);
    }
}

void InvertColumnRun(PixelBuffer& buffer, int64_t x, int64_t y0, int64_t y1, int64_t kAtY0, int64_t dir) {
    if (x < 0 || x >= buffer.Width()) return;
    const Span ys = Clip({y0, y1 + 1}, buffer.Height());
    for (int64_t y = ys.begin; y < ys.end; ++y) {
        if (DashLit(kAtY0 + dir * (y - y0))) Invert(At(buffer, x, y), 3);
    }
}

}  // namespace

void CopyRect(const PixelBuffer& src, int64_t sx, int64_t sy, int64_t w, int64_t h, PixelBuffer& dst,
              int64_t dx, int64_t dy) {
    if (w <= 0 || h <= 0) return;
    Span xs = Clip({sx, SatAdd(sx, w)}, src.Width());
    Span ys = Clip({sy, SatAdd(sy, h)}, src.Height());
    if (xs.Empty() || ys.Empty()) return;
    // From here on in source coordinates, which lie inside the source; a destination coordinate
    // is the source one plus the offset. An offset pinned at the 64-bit limit misses dst either way.
    const int64_t offX = SatSub(dx, sx);
    const int64_t offY = SatSub(dy, sy);
    xs = {std::max(xs.begin, SatSub(0, offX)), std::min(xs.end, SatSub(dst.Width(), offX))};
    ys = {std::max(ys.begin, SatSub(0, offY)), std::min(ys.end, SatSub(dst.Height(), offY))};
    if (xs.Empty() || ys.Empty()) return;

    const std::size_t bytes = static_cast<std::size_t>(xs.Size() * 3);
    auto copyRow = [&](int64_t y) {
        const uint8_t* from = src.Row(static_cast<int32_t>(y)) + xs.begin * 3;
        uint8_t* to = At(dst, xs.begin + offX, y + offY);
        if (&src == &dst) {
            std::memmove(to, from, bytes);
        } else {
            CopySmall(to, from, bytes);  // the rows of blocks are often short
        }
    };
    // Within one buffer, moving down must start at the bottom so that no row is overwritten
    // before it has been read; memmove takes care of the overlap inside a row.
    if (&src == &dst && offY > 0) {
        for (int64_t y = ys.end - 1; y >= ys.begin; --y) copyRow(y);
    } else {
        for (int64_t y = ys.begin; y < ys.end; ++y) copyRow(y);
    }
}

void CopyRegions(const PixelBuffer& src, PixelBuffer& dst, std::span<const Rect> rects) {
    const int64_t w = std::min(src.Width(), dst.Width()), h = std::min(src.Height(), dst.Height());
    // Byte offsets and row numbers in the machine's own widths: the loop below runs once per
    // band and row, often for a few bytes each.
    struct Part {
        std::size_t at, bytes;
        int32_t top, bottom;
    };
    std::vector<Part> parts;
    int32_t top = static_cast<int32_t>(h), bottom = 0;
    for (const Rect& r : rects) {
        const Span xs = Clip({r.left, r.right}, w), ys = Clip({r.top, r.bottom}, h);
        if (xs.Empty() || ys.Empty()) continue;
        const Part part{static_cast<std::size_t>(xs.begin * 3), static_cast<std::size_t>(xs.Size() * 3),
                        static_cast<int32_t>(ys.begin), static_cast<int32_t>(ys.end)};
        parts.push_back(part);
        top = std::min(top, part.top);
        bottom = std::max(bottom, part.bottom);
    }
    for (int32_t y = top; y < bottom; ++y) {
        const uint8_t* from = src.Row(y);
        uint8_t* to = dst.Row(y);
        for (const Part& part : parts) {
            if (y >= part.top && y < part.bottom) CopySmall(to + part.at, from + part.at, part.bytes);
        }
    }
}

void FillRect(PixelBuffer& buffer, Rect rect, Bgr colour) {
    FillRows(buffer, Clip({rect.left, rect.right}, buffer.Width()), Clip({rect.top, rect.bottom}, buffer.Height()),
             colour);
}

void FillAll(PixelBuffer& buffer, Bgr colour) {
    if (buffer.Empty()) return;
    if (colour.b == colour.g && colour.g == colour.r) {
        // Padding bytes included: one pass over the whole store.
        FillBytes(buffer.Data(), colour.b, buffer.SizeBytes());
        return;
    }
    FillRows(buffer, {0, buffer.Width()}, {0, buffer.Height()}, colour);
}

void AndNotMask(PixelBuffer& a, const Mask& mask) {
    CombineWithMask(a, mask, [](uint8_t bits) { return static_cast<uint8_t>(~bits); });
}

void AndMask(PixelBuffer& b, const Mask& mask) {
    CombineWithMask(b, mask, [](uint8_t bits) { return bits; });
}

void OrInto(PixelBuffer& a, const PixelBuffer& b) {
    const int32_t w = std::min(a.Width(), b.Width());
    const int32_t h = std::min(a.Height(), b.Height());
    const std::size_t bytes = static_cast<std::size_t>(w) * 3;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* p = a.Row(y);
        const uint8_t* q = b.Row(y);
        for (std::size_t i = 0; i < bytes; ++i) p[i] |= q[i];
    }
}

void InvertRect(PixelBuffer& buffer, Rect rect) {
    ForEachRowSpan(buffer, rect, Invert);
}

void DrawInvertedDashedFrame(PixelBuffer& buffer, Rect rect) {
    if (rect.Empty()) return;
    const int64_t l = rect.left, t = rect.top, r = rect.right - int64_t{1}, b = rect.bottom - int64_t{1};
    const int64_t w = rect.Width(), h = rect.Height();
    // A rectangle one pixel tall or wide is a single run; otherwise four runs that share no pixel:
    // top left to right, right side downward, bottom right to left, left side upward.
    if (h == 1) {
        InvertRowRun(buffer, t, l, r, 0, 1);
        return;
    }
    if (w == 1) {
        InvertColumnRun(buffer, l, t, b, 0, 1);
        return;
    }
    InvertRowRun(buffer, t, l, r, 0, 1);
    InvertColumnRun(buffer, r, t + 1, b, w, 1);
    InvertRowRun(buffer, b, l, r - 1, (w - 1) + (h - 1) + (w - 1), -1);
    InvertColumnRun(buffer, l, t + 1, b - 1, 2 * (w - 1) + 2 * (h - 1) - 1, -1);
}

}  // namespace kembo
