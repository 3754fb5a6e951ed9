#pragma once
// The import plug-in interface as hosts call it: result codes, input forms and the picture-info
// record, in plain types so the portable parts can use them.
#include <cstddef>
#include <cstdint>

namespace kembowic {

enum class SpiResult : int32_t {
    NotImplemented = -1,
    Success = 0,
    Aborted = 1,        // the progress callback asked to stop
    UnknownFormat = 2,  // not a picture this plug-in reads
    BrokenData = 3,     // damaged or truncated
    NoMemory = 4,       // out of memory, or larger than one picture may be
    MemoryError = 5,    // a memory block could not be locked
    FileReadError = 6,
    InternalError = 8,
};

// The low three bits of a flag say where the input is; bits 8 to 10 where the output goes.
enum class InputKind { File, Memory, Unknown };
inline InputKind InputOf(uint32_t flag) {
    switch (flag & 7) {
        case 0: return InputKind::File;
        case 1: return InputKind::Memory;
        default: return InputKind::Unknown;
    }
}
// Only output to memory handles is offered.
inline bool OutputToMemory(uint32_t flag) { return ((flag >> 8) & 7) == 0; }

// The record GetPictureInfo fills: byte-packed, 26 bytes, the text handle 32-bit.
#pragma pack(push, 1)
struct PictureInfoRecord {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    uint16_t xDensity;
    uint16_t yDensity;
    int16_t colorDepth;
    uint32_t infoText;
};
#pragma pack(pop)
static_assert(sizeof(PictureInfoRecord) == 26);

// Hosts look at this many bytes of a file to decide whether a plug-in reads it.
constexpr std::size_t kHeaderBytes = 2048;

}  // namespace kembowic
