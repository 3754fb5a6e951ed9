#include "toolkit/window_text_win.h"

#include <algorithm>

#include "base/catalog.h"
#include "toolkit/text_win.h"

namespace kembo {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::max(got, 0)));
    return Narrow(buffer);
}

BYTE UiCharset() { return CurrentLanguage() == Language::Japanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET; }

}  // namespace kembo
