#include "dialogs/version_texts.h"

#include "base/catalog.h"

namespace kembo {

namespace {

std::string_view Or(const std::optional<std::string>& text) { return text ? std::string_view(*text) : std::string_view(); }

// The rest of a UTF-8 text after its first `count` characters: a character is a lead byte with
// the continuation bytes after it, so a Japanese description is never cut inside a character.
std::string_view DropCharacters(std::string_view text, int count) {
    std::size_t i = 0;
    for (int n = 0; n < count && i < text.size(); ++n) {
        ++i;
        while (i < text.size() && (static_cast<uint8_t>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return text.substr(i);
}

std::string TargetOf(std::string_view description) {
    const std::size_t at = description.find("for ");
    if (at != std::string_view::npos) return std::string(description.substr(at + 4));
    return std::string(DropCharacters(description, 3));
}

std::string FirstWord(std::string_view copyright) {
    const std::size_t space = copyright.find(' ');
    return space == std::string_view::npos ? std::string() : std::string(copyright.substr(0, space));
}

}  // namespace

VersionTexts DeriveVersionTexts(const VersionStrings& strings) {
    return VersionTexts{std::string(Or(strings.internalName)), FirstWord(Or(strings.legalCopyright)),
                        std::string(Or(strings.fileVersion)), TargetOf(Or(strings.fileDescription))};
}

std::string TargnameCaption(std::string_view targetText) { return Text(TextId::VersionTarget, targetText); }

std::string VersionCaption(std::string_view versionText) { return Text(TextId::VersionNumber, versionText); }

std::string Unscramble(const uint8_t* block, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        const uint8_t c = scramble_detail::RotateRight3(static_cast<uint8_t>(block[i] ^ scramble_detail::Key(i)));
        if (c == 0) break;
        text.push_back(static_cast<char>(c));
    }
    return text;
}

}  // namespace kembo
