#include "base/errors.h"

#include "base/text.h"

namespace kembo {

void RaiseMessage(const std::string& text) { throw Error(text); }

std::string FormatText(std::string_view pattern, std::string_view arg) {
    std::string result(pattern);
    const std::size_t at = result.find("%s");
    if (at != std::string::npos) {
        result.replace(at, 2, arg);
    }
    return result;
}

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    // A message that already ends in punctuation (or anything that sorts below ".") keeps it.
    if (!text.empty() && LastCodePoint(text) > U'.') {
        text += '.';
    }
    return text;
}

}  // namespace kembo
