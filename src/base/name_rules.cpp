#include "base/name_rules.h"

namespace kembo {
namespace {

// Position just after the folder part: after the last separator or drive colon.
std::size_t NameStart(std::string_view path) {
    const std::size_t last = path.find_last_of("\\/:");
    return last == std::string_view::npos ? 0 : last + 1;
}

// Position of the extension's dot within path, npos when the name has none.
std::size_t ExtensionDot(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < NameStart(path)) {
        return std::string_view::npos;
    }
    return dot;
}

}  // namespace

bool IsPathDelimiter(char c) { return c == '\\' || c == '/'; }

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string ExtractFileExt(std::string_view path) {
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::size_t dot = ExtensionDot(path);
    std::string result(path.substr(0, dot == std::string_view::npos ? path.size() : dot));
    result += ext;
    return result;
}

std::string IncludeTrailingSeparator(std::string_view path) {
    std::string result(path);
    if (result.empty() || !IsPathDelimiter(result.back())) {
        result += '\\';
    }
    return result;
}

std::string ExcludeTrailingSeparator(std::string_view path) {
    std::string result(path);
    if (!result.empty() && IsPathDelimiter(result.back())) {
        result.pop_back();
    }
    return result;
}

std::string AddTrailingSeparator(std::string_view path) {
    std::string result(path);
    if (result.empty() || (result.back() != '\\' && result.back() != ':')) result += '\\';
    return result;
}

}  // namespace kembo
