#pragma once
// What the plug-in says about itself through GetPluginInfo: its type, its name, and one pattern
// and description pair for each picture format the system can decode.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "signature.h"

namespace kembowic {

struct FormatText {
    std::string pattern;      // "*.jpg;*.jpeg"
    std::string description;  // "JPEG picture"
};

// A decoder's extension list (".jpg,.jpeg" or ".jpg;.jpeg") as a pattern text, without the
// extensions the host reads with its own picture classes (BMP, icons, metafiles); empty when none
// is left.
std::string PatternFromExtensions(std::string_view extensions);

// Our description of a format; for one we do not know, the decoder's own name.
std::string DescriptionOf(Format format, std::string_view decoderName);

// GetPluginInfo's text number n: 0 the type, 1 the name, then pattern and description in turn;
// nullopt past the last.
std::optional<std::string> InfoText(int32_t number, const std::vector<FormatText>& formats);

// Copies text into a host's buffer of the given length, cut to fit with its closing zero; the
// number of characters written (0 when there is no room at all).
int32_t CopyToBuffer(std::string_view text, char* buffer, int32_t length);

}  // namespace kembowic
