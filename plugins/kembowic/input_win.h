#pragma once
// The data a plug-in call names: a block in memory, a file from an offset on, or the head of an
// open file handle.
#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "susie_api.h"

namespace kembowic {

class InputData {
public:
    // Memory: buffer and length as given. File: buffer is the file's name (system code page),
    // length the offset where the picture starts; the rest of the file is read.
    SpiResult Load(const char* buffer, int32_t length, uint32_t flag);
    std::span<const uint8_t> Bytes() const { return bytes_; }

private:
    SpiResult LoadFile(const char* name, int32_t offset);
    std::vector<uint8_t> owned_;
    std::span<const uint8_t> bytes_;
};

// Up to the first 2 KiB from an open file's current position, which is put back afterwards.
std::vector<uint8_t> ReadHead(HANDLE file);

}  // namespace kembowic
