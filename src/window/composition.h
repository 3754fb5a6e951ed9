#pragma once
// Turning a picture file into the window's image: the display rectangle copied at its own size
// or stretched over the whole target, margins in the margin colour, then the brightness.
#include <cstdint>
#include <optional>
#include <string>

#include "base/colour.h"
#include "base/geometry.h"
#include "image/display_rules.h"
#include "image/pixel_buffer.h"
#include "loading/file_system.h"

namespace kembo {

class PictureFormats;

// Where pictures come from: the format registry and the file system.
struct PictureSource {
    PictureFormats& formats;
    FileSystem& files;
};

struct CompositionParams {
    int32_t sx = -1, sy = -1, ex = -1, ey = -1;  // display rectangle; negative = the picture's edge
    int32_t scalingType = 1;                     // 0: own size; else stretched to the target
    int32_t brightness = 100;                    // percent
    Color margin = 0x800080;
};

// The pixel part of a composition, once the picture is decoded: work (of any size) becomes the
// display rectangle of picture copied or stretched onto it, the margin colour elsewhere, and
// the brightness applied to all of it.
void ComposePixels(const PixelBuffer& picture, PixelBuffer& work, const CompositionParams& params);

// Composes the file into the whole target. Throws on failure; the target is written only at
// the end, so a failure leaves it as it was.
void ComposePicture(PixelBuffer& target, const std::string& path, const CompositionParams& params,
                    const PictureSource& source);

// Where a composition of the window takes its picture from.
enum class PictureReading {
    fromFile,        // read and decode the file
    keptIfSameFile,  // the kept picture, when the file is still the one it was read from
};

// The window's compositions, keeping the last picture decoded so that a size change need not
// read and decode the file again. The kept picture stands for its file only while the file has
// the path, size and last-write time it had when it was read (checked at every composition); at
// most one picture is kept, and reading another one lets it go first. Every failure (a missing,
// unreadable or damaged file) comes before the target is touched: once the picture is decoded,
// it is composed straight into the target, without a second window-sized buffer.
class KeptPicture {
public:
    // ComposePicture for the window: nothing happens when there is no file at path; any failure
    // is swallowed and empties path. True when the target was composed.
    bool Compose(PixelBuffer& target, std::string& path, const CompositionParams& params,
                 const PictureSource& source, PictureReading reading);
    // Lets the kept picture go: the next composition reads its file.
    void Release() { kept_.reset(); }

private:
    struct Kept {
        std::string path;
        FileSystem::Stamp stamp;
        PixelBuffer pixels;
    };
    std::optional<Kept> kept_;
};

}  // namespace kembo
