#pragma once
#include <windows.h>

namespace kembo {

// The whole life of the program, from the single-instance check to the last save.
int RunKembo(HINSTANCE instance);

}  // namespace kembo
