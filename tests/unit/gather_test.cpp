// The stretch's pixel gathering: the SSE2 path against the plain loop, which writes exactly the
// pixels asked for, on random rows of every small width, odd widths and 1-pixel sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "image/gather.h"

namespace kembo {
namespace {

struct Case {
    std::vector<uint8_t> source;   // one row's store
    std::vector<uint32_t> offsets;
    std::size_t words = 0;
};

// n destination pixels taken from a source of sw pixels: in stretch order (non-decreasing) or
// scattered, with the 4-byte words allowed as far as the first pixel read from the store's end.
Case MakeCase(std::mt19937& random, std::size_t sw, std::size_t n, bool sorted) {
    Case c;
    c.source.resize(sw * 3);
    for (uint8_t& b : c.source) b = static_cast<uint8_t>(random());
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t column = sorted ? (2 * i + 1) * sw / (2 * n) : random() % sw;
        c.offsets.push_back(static_cast<uint32_t>(column * 3));
    }
    const auto last = std::find(c.offsets.begin(), c.offsets.end(), static_cast<uint32_t>((sw - 1) * 3));
    c.words = std::min<std::size_t>(last - c.offsets.begin(), n - 1);
    return c;
}

TEST(GatherPixels, MatchesThePlainLoopAndWritesOnlyItsPixels) {
    std::mt19937 random(12345);
    std::vector<std::pair<std::size_t, std::size_t>> shapes;  // source width, pixels
    for (std::size_t n = 1; n <= 40; ++n)
        for (std::size_t sw : {std::size_t{1}, std::size_t{2}, n, 3 * n + 1, std::size_t{97}}) shapes.emplace_back(sw, n);
    shapes.emplace_back(4000, 1919);
    shapes.emplace_back(1921, 1920);
    for (const auto& [sw, n] : shapes) {
        for (const bool sorted : {true, false}) {
            const Case c = MakeCase(random, sw, n, sorted);
            constexpr uint8_t kGuard = 0xA5;
            std::vector<uint8_t> fast(n * 3 + 32, kGuard), plain(n * 3 + 32, kGuard);
            GatherPixels(fast.data(), c.source.data(), c.source.data(), c.offsets.data(), n, c.words);
            GatherPixelsPlain(plain.data(), c.source.data(), c.source.data(), c.offsets.data(), n, c.words);
            ASSERT_EQ(fast, plain) << sw << " -> " << n << (sorted ? " sorted" : " scattered");
            for (std::size_t i = 0; i < n; ++i)
                ASSERT_TRUE(std::equal(plain.begin() + i * 3, plain.begin() + i * 3 + 3, c.source.begin() + c.offsets[i]))
                    << sw << " -> " << n << " pixel " << i;
            ASSERT_TRUE(std::all_of(plain.begin() + n * 3, plain.end(), [](uint8_t b) { return b == kGuard; }));
        }
    }
}

}  // namespace
}  // namespace kembo
