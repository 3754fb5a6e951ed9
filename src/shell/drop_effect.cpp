#include "shell/drop_effect.h"

namespace kembo {

uint32_t DropEffectFor(uint32_t keyState) {
    if (!(keyState & kKeyControl)) return kDropEffectMove;
    return (keyState & kKeyShift) ? kDropEffectLink : kDropEffectCopy;
}

}  // namespace kembo
