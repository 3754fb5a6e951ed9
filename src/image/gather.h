#pragma once
// The inner loop of a shrinking stretch: 3-byte pixels picked from a source row into a new row.
#include <cstddef>
#include <cstdint>

namespace kembo {

// d receives n pixels, pixel i being the 3 bytes at s + offsets[i], and nothing beyond them.
// The first `words` pixels may be read as 4-byte words: one byte past each of them must still
// be readable (words < n, and their sources are not the last bytes of the source's store).
// next is the same row's successor, fetched early on the way (any readable row will do).
// With SSE2 the pixels go four at a time in one register; GatherPixelsPlain is the plain loop,
// the reference the other is tested against.
void GatherPixels(uint8_t* d, const uint8_t* s, const uint8_t* next, const uint32_t* offsets, std::size_t n,
                  std::size_t words);
void GatherPixelsPlain(uint8_t* d, const uint8_t* s, const uint8_t* next, const uint32_t* offsets, std::size_t n,
                       std::size_t words);

}  // namespace kembo
