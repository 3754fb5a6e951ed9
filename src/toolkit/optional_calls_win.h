#pragma once
// Calls newer systems have and older ones lack, looked up by name: nullptr where missing.
#include <windows.h>

namespace kembo {

template <typename F>
void ResolveCall(F& target, HMODULE module, const char* name) {
    if (module) target = reinterpret_cast<F>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

}  // namespace kembo
