#pragma once
// A picture for the encoders to work on, made once per benchmark program.
#include <algorithm>
#include <cstdint>

#include "common/noise.h"
#include "test_pictures.h"

namespace kembo::bench {

// Something like a photo: smooth light with grain, so the encoders have real work to do.
inline testing::TestImage Photo(int width, int height) {
    testing::TestImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    uint32_t state = 2463534242u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int grain = static_cast<int>(NextNoise(state) & 15) - 8;
            const auto channel = [&](int base) { return static_cast<uint8_t>(std::clamp(base + grain, 0, 255)); };
            image.pixels[static_cast<size_t>(y) * width + x] =
                testing::Rgb{channel(x * 255 / width), channel(y * 255 / height), channel((x + y) * 127 / (width + height) + 64)};
        }
    }
    return image;
}

}  // namespace kembo::bench
