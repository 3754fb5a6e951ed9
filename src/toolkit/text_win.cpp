#include "toolkit/text_win.h"

#include <algorithm>

#include "base/catalog.h"
#include "base/text.h"

namespace kembo {

std::wstring Wide(std::string_view utf8) {
    std::u16string u16 = Utf8ToUtf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

std::string Narrow(std::wstring_view utf16) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::max(got, 0)));
    return Narrow(buffer);
}

BYTE UiCharset() { return CurrentLanguage() == Language::Japanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET; }

}  // namespace kembo
