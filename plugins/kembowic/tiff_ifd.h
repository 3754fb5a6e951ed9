#pragma once
// The first directory of a TIFF structure (a TIFF file, or the Exif block of a JPEG or PNG):
// single numbers looked up by tag, every offset checked against the data.
#include <cstdint>
#include <optional>
#include <span>

#include "byte_reader.h"

namespace kembowic {

class TiffIfd {
public:
    // The first directory of data that starts with a TIFF header ("II*\0" or "MM\0*"); an empty
    // directory when the header or the directory is not there.
    static TiffIfd First(std::span<const uint8_t> data);

    // The value of a tag that holds one SHORT or LONG; nullopt when absent or of another kind.
    std::optional<uint32_t> Number(uint16_t tag) const;

private:
    TiffIfd(ByteReader in, std::size_t offset, uint16_t count) : in_(in), offset_(offset), count_(count) {}
    ByteReader in_;
    std::size_t offset_;
    uint16_t count_;
};

}  // namespace kembowic
