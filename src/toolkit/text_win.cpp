#include "toolkit/text_win.h"

#include "base/text.h"

namespace kembo {

std::wstring Wide(std::string_view utf8) {
    std::u16string u16 = Utf8ToUtf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

std::string Narrow(std::wstring_view utf16) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

}  // namespace kembo
