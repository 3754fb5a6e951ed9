#include "plugin_texts.h"

#include <algorithm>
#include <array>

namespace kembowic {
namespace {

constexpr const char* kType = "00IN";
constexpr const char* kName = "KEMBO picture import plug-in 1.0 (Windows Imaging Component)";

// Read by the host's own picture classes.
constexpr std::array<std::string_view, 7> kHostExtensions = {"bmp", "dib", "rle", "ico", "cur", "wmf", "emf"};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string PatternFromExtensions(std::string_view extensions) {
    std::vector<std::string> kept;
    std::size_t start = 0;
    while (start <= extensions.size()) {
        std::size_t end = extensions.find_first_of(",; ", start);
        if (end == std::string_view::npos) end = extensions.size();
        std::string_view piece = extensions.substr(start, end - start);
        while (!piece.empty() && (piece.front() == '*' || piece.front() == '.')) piece.remove_prefix(1);
        std::string name;
        for (char c : piece) name += LowerAscii(c);
        const bool valid = !name.empty() && name.find_first_of("*?.\\/") == std::string::npos;
        if (valid && std::find(kHostExtensions.begin(), kHostExtensions.end(), name) == kHostExtensions.end() &&
            std::find(kept.begin(), kept.end(), name) == kept.end()) {
            kept.push_back(name);
        }
        start = end + 1;
    }
    std::string pattern;
    for (const std::string& name : kept) pattern += (pattern.empty() ? "*." : ";*.") + name;
    return pattern;
}

std::string DescriptionOf(Format format, std::string_view decoderName) {
    switch (format) {
        case Format::Jpeg: return "JPEG picture";
        case Format::Png: return "PNG picture";
        case Format::Gif: return "GIF picture";
        case Format::Tiff: return "TIFF picture";
        case Format::JpegXr: return "JPEG XR picture";
        case Format::WebP: return "WebP picture";
        case Format::Heif: return "HEIF picture";
        case Format::Dds: return "DDS texture";
        default: break;
    }
    constexpr std::string_view kSuffix = " Decoder";
    if (decoderName.size() > kSuffix.size() && decoderName.ends_with(kSuffix)) decoderName.remove_suffix(kSuffix.size());
    return decoderName.empty() ? "Picture" : std::string(decoderName) + " picture";
}

std::optional<std::string> InfoText(int32_t number, const std::vector<FormatText>& formats) {
    if (number == 0) return kType;
    if (number == 1) return kName;
    if (number < 2) return std::nullopt;
    const auto index = static_cast<std::size_t>(number - 2) / 2;
    if (index >= formats.size()) return std::nullopt;
    return number % 2 == 0 ? formats[index].pattern : formats[index].description;
}

int32_t CopyToBuffer(std::string_view text, char* buffer, int32_t length) {
    if (!buffer || length <= 0) return 0;
    const auto count = static_cast<int32_t>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(length - 1)));
    std::copy_n(text.data(), count, buffer);
    buffer[count] = '\0';
    return count;
}

}  // namespace kembowic
