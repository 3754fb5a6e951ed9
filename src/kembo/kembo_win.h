#pragma once
// The program's start-up sequence, at the top of the layering: it composes every other room
// (core, loading, window, dialogs, splash, toolkit), and only the entry point includes it.
#include <windows.h>

namespace kembo {

// The whole life of the program, from the single-instance check to the last save.
int RunKembo(HINSTANCE instance);

}  // namespace kembo
