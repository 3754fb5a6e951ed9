#pragma once
// What a file is, judged by its bytes: the format's signature, the size its header declares, and
// whether its structure runs to its end marker. Only bytes inside the given span are read.
#include <cstdint>
#include <optional>
#include <span>

namespace kembowic {

enum class Format { Unknown, Jpeg, Png, Gif, Tiff, Bmp, Ico, JpegXr, WebP, Heif, Dds };

// The format whose signature starts the data; Unknown when none does.
Format Sniff(std::span<const uint8_t> data);

// Formats the host reads itself (BMP) or keeps for its own picture class (icons): never claimed.
bool LeftToHost(Format format);

struct Size {
    uint32_t width = 0;
    uint32_t height = 0;
    bool operator==(const Size&) const = default;
};

// Width and height as the header states them, when the format's header is understood and
// present; used to refuse a huge picture before any decoder allocates for it.
std::optional<Size> DeclaredSize(Format format, std::span<const uint8_t> data);

// The bits a pixel of the bitmap will have (8 for palette and grey pictures, 24 for others) as
// the header tells it: JPEG, PNG and GIF; 0 when it does not.
int DeclaredBits(Format format, std::span<const uint8_t> data);

// The contents of a PNG's first chunk of this type before the picture data, if there is one.
std::optional<std::span<const uint8_t>> PngChunkBeforeData(std::span<const uint8_t> data, const char (&type)[5]);

// False when the data visibly ends early: a JPEG without its end marker, a PNG without its last
// chunk, a GIF whose first picture is cut off. Other formats are left to their decoder.
bool LooksComplete(Format format, std::span<const uint8_t> data);

}  // namespace kembowic
