#pragma once
// The brightness scaling of pixel bytes: each byte becomes min(255, percent × byte div 100), the
// remainder dropped; a negative percent counts as 0.
#include <cstddef>
#include <cstdint>

namespace kembo {

void ScaleBytes(uint8_t* bytes, std::size_t count, int32_t percent);
uint8_t ScaleByte(uint8_t byte, int32_t percent);

}  // namespace kembo
