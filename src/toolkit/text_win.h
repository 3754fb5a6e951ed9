#pragma once
// Text at the Win32 edge: UTF-8 inside, UTF-16 for the ...W calls.
#include <windows.h>

#include <string>
#include <string_view>

namespace kembo {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace kembo
