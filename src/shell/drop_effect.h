#pragma once
// What a drop would do, from the keys held during the drag: Ctrl copies, Ctrl+Shift links,
// anything else moves. Values are the OLE key-state flags and drop effects.
#include <cstdint>

namespace kembo {

inline constexpr uint32_t kKeyShift = 0x4;    // MK_SHIFT
inline constexpr uint32_t kKeyControl = 0x8;  // MK_CONTROL
inline constexpr uint32_t kDropEffectNone = 0;
inline constexpr uint32_t kDropEffectCopy = 1;
inline constexpr uint32_t kDropEffectMove = 2;
inline constexpr uint32_t kDropEffectLink = 4;

uint32_t DropEffectFor(uint32_t keyState);

}  // namespace kembo
