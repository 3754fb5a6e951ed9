#pragma once
// UTF-8 is the text of the program; UTF-16 is what the Windows edge speaks.
#include <cstdint>
#include <string>
#include <string_view>

namespace kembo {

// Invalid sequences become U+FFFD; nothing throws.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The code point of the last character of a UTF-8 text (U+FFFD for a broken tail, 0 for "").
char32_t LastCodePoint(std::string_view text);

// ASCII-only case folding and comparison (names, extensions, keys).
std::string AsciiLower(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace kembo
