#pragma once
// The texts the common dialogs are given in the program's own notation.
#include <string>
#include <string_view>

namespace kembo {

// "description|pattern|description|pattern" as the system's list: each part ends in a zero, the
// list in a second one. Pairs stay whole: a description without its pattern is left out.
std::u16string FilterList(std::string_view filter);
// A default extension written as a pattern ("*.bmp", ".bmp" or "bmp") as the system takes it:
// "bmp". A pattern without one ("*.*") gives none.
std::string DefaultExtension(std::string_view pattern);

}  // namespace kembo
