#include "toolkit/dpi.h"

#include "base/numbers.h"

namespace kembo {

int32_t ScaleToDpi(int32_t designed, int32_t dpi) { return MulDiv(designed, dpi > 0 ? dpi : kDesignDpi, kDesignDpi); }

int32_t FontHeightForDpi(int32_t designedHeight, int32_t dpi) {
    const int32_t height = ScaleToDpi(designedHeight, dpi);
    return height > 0 ? -height : height;
}

}  // namespace kembo
