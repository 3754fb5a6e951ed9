#include "toolkit/common_dialogs.h"

#include <vector>

#include "base/text.h"

namespace kembo {

std::u16string FilterList(std::string_view filter) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos) break;
        filter.remove_prefix(bar + 1);
    }
    std::u16string list;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        list += Utf8ToUtf16(parts[i]);
        list += u'\0';
        list += Utf8ToUtf16(parts[i + 1]);
        list += u'\0';
    }
    list += u'\0';
    return list;
}

std::string DefaultExtension(std::string_view pattern) {
    const size_t dot = pattern.rfind('.');
    std::string_view ext = dot == std::string_view::npos ? pattern : pattern.substr(dot + 1);
    if (ext.find_first_of("*?") != std::string_view::npos) return std::string();
    return std::string(ext);
}

}  // namespace kembo
