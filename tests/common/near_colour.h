#pragma once
// Colours compared with a tolerance, for pictures that keep them only nearly (JPEG).
#include <gtest/gtest.h>

#include <cstdlib>

#include "test_pictures.h"

namespace kembo::testing {

// Each channel within `tolerance` steps of the wanted one.
inline ::testing::AssertionResult Near(Rgb seen, Rgb wanted, int tolerance) {
    if (std::abs(seen.r - wanted.r) <= tolerance && std::abs(seen.g - wanted.g) <= tolerance &&
        std::abs(seen.b - wanted.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "seen (" << int(seen.r) << "," << int(seen.g) << "," << int(seen.b)
                                         << ") wanted (" << int(wanted.r) << "," << int(wanted.g) << ","
                                         << int(wanted.b) << ")";
}

}  // namespace kembo::testing
