#pragma once
// Decisions of the title splash, kept apart from its window: where its caption
// goes, how a title picture is laid over the screen behind it, how long a frame pause lasts and
// which system command it refuses.
#include <cstdint>
#include <optional>

#include "base/geometry.h"
#include "core/program_paths.h"
#include "image/pixel_buffer.h"

namespace kembo {

// The caption label's top-left corner in a window of that height: the left edge, one font
// height (either sign) and 5 pixels above the bottom.
Point CaptionLabelPlace(int32_t windowHeight, int32_t fontHeight);

// A title picture laid over a copy of the screen behind the splash, pixel by pixel: where the
// mask is white the picture; where it is black the screen OR the picture, so the screen itself
// where the picture is black. First the screen AND NOT the mask, then the picture OR that. The
// result has the capture's size: a wider picture is cut there, and where the picture or the
// mask does not reach, the screen copy stays as the steps leave it.
PixelBuffer ComposeOverScreen(PixelBuffer capture, const PixelBuffer& picture, const Mask& mask);

// A title picture composed at the splash's size: the screen copy cut (or padded with black) to
// width × height first. When the screen could not be read the picture is laid over black, so
// it shows as it is instead of ending the start.
PixelBuffer ComposeTitle(int32_t width, int32_t height, const std::optional<PixelBuffer>& capture,
                         const PixelBuffer& picture, const Mask& mask);

// A bitmap read as a mask the way a monochrome conversion reads it: white where the pixel is
// white, black wherever it is anything else.
Mask MonochromeOf(const PixelBuffer& pixels);

// Whether start-up shows the splash: never when the command line holds a parameter or the
// wait is 0 or less, and only once.
bool SplashWanted(bool commandLineHasParameters, int32_t titleWait, const AppState& state);

// Whether a wait of `milliseconds` begun at tick `start` still runs at tick `now`. The ticks
// are subtracted as unsigned 32-bit values, so the wait survives the wrap of the tick count;
// 0 or less never waits.
bool StillWaiting(uint32_t start, uint32_t now, int32_t milliseconds);

// The splash ignores the close command (the system uses the code's low 4 bits for itself);
// every other system command goes to the default handling.
bool RefusesSystemCommand(uint32_t code);

}  // namespace kembo
