#include "splash/title_rules.h"

#include <cstdlib>
#include <utility>

#include "image/pixel_ops.h"

namespace kembo {

namespace {
constexpr uint32_t kSystemCommandMask = 0xFFF0;
constexpr uint32_t kCloseCommand = 0xF060;
constexpr int64_t kCaptionBottomGap = 5;
}  // namespace

Point CaptionLabelPlace(int32_t windowHeight, int32_t fontHeight) {
    const int64_t top = static_cast<int64_t>(windowHeight) - std::llabs(fontHeight) - kCaptionBottomGap;
    return Point{0, static_cast<int32_t>(top < INT32_MIN ? INT32_MIN : top)};
}

PixelBuffer ComposeOverScreen(PixelBuffer capture, const PixelBuffer& picture, const Mask& mask) {
    AndNotMask(capture, mask);
    OrInto(capture, picture);
    return capture;
}

PixelBuffer ComposeTitle(int32_t width, int32_t height, const std::optional<PixelBuffer>& capture,
                         const PixelBuffer& picture, const Mask& mask) {
    PixelBuffer screen(width, height);
    if (capture) CopyRect(*capture, 0, 0, width, height, screen, 0, 0);
    return ComposeOverScreen(std::move(screen), picture, mask);
}

Mask MonochromeOf(const PixelBuffer& pixels) {
    constexpr Bgr kWhite{0xFF, 0xFF, 0xFF};
    Mask mask(pixels.Width(), pixels.Height());
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x) mask.Set(x, y, pixels.Pixel(x, y) == kWhite);
    return mask;
}

bool SplashWanted(bool commandLineHasParameters, int32_t titleWait, const AppState& state) {
    return !commandLineHasParameters && titleWait > 0 && state.splashAllowed && !state.splashShowing;
}

bool StillWaiting(uint32_t start, uint32_t now, int32_t milliseconds) {
    return milliseconds > 0 && now - start < static_cast<uint32_t>(milliseconds);
}

bool RefusesSystemCommand(uint32_t code) { return (code & kSystemCommandMask) == kCloseCommand; }

}  // namespace kembo
