#pragma once
// The texts of windows: kept apart from the text conversions, which the plug-in helper uses
// without any window.
#include <windows.h>

#include <string>

namespace kembo {

// The text (caption) of a window.
std::string WindowText(HWND window);
// The character set the forms' fonts ask for: the one of the language the texts are shown in.
BYTE UiCharset();

}  // namespace kembo
