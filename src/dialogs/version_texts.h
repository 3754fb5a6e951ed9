#pragma once
// The texts of the version box: what it derives from the program's version strings, and its
// two texts of its own, kept scrambled in the program's data.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kembo {

// The four strings as read from the version resource; nullopt when one is missing.
struct VersionStrings {
    std::optional<std::string> internalName;
    std::optional<std::string> legalCopyright;
    std::optional<std::string> fileVersion;
    std::optional<std::string> fileDescription;
};

// What the box shows of them; a missing string gives an empty text.
struct VersionTexts {
    std::string programName;    // InternalName
    std::string copyrightText;  // LegalCopyright up to its first space; empty without a space
    std::string versionText;    // FileVersion
    std::string targetText;     // FileDescription after its first "for ", or without its first 3 characters
    bool operator==(const VersionTexts&) const = default;
};

VersionTexts DeriveVersionTexts(const VersionStrings& strings);

// The label captions built from them.
std::string TargnameCaption(std::string_view targetText);  // " for " + target
std::string VersionCaption(std::string_view versionText);  // "  Ver " + version

// A text of at most N single-byte characters kept as an N-byte block: each byte rotated and
// mixed with a key of its position, the room after the text filled with scrambled zeros, so the
// block shows neither the text nor its length.
template <std::size_t N>
using ScrambledText = std::array<uint8_t, N>;

namespace scramble_detail {
constexpr uint8_t Key(std::size_t i) { return static_cast<uint8_t>(0x5A + 0x3D * i); }
constexpr uint8_t RotateLeft3(uint8_t b) { return static_cast<uint8_t>((b << 3) | (b >> 5)); }
constexpr uint8_t RotateRight3(uint8_t b) { return static_cast<uint8_t>((b >> 3) | (b << 5)); }
}  // namespace scramble_detail

// Compile-time only, so the plain text never reaches the program's data. A text too long or
// not plain ASCII does not compile.
template <std::size_t N, std::size_t M>
consteval ScrambledText<N> Scramble(const char (&text)[M]) {
    static_assert(M - 1 <= N, "the text does not fit its block");
    ScrambledText<N> block{};
    for (std::size_t i = 0; i < N; ++i) {
        const char c = i < M - 1 ? text[i] : '\0';
        if (c < 0 || (i < M - 1 && c == '\0')) throw "only single-byte characters";
        block[i] = static_cast<uint8_t>(scramble_detail::RotateLeft3(static_cast<uint8_t>(c)) ^ scramble_detail::Key(i));
    }
    return block;
}

// The text of a block: up to its first zero, or all N characters.
std::string Unscramble(const uint8_t* block, std::size_t size);
template <std::size_t N>
std::string Unscramble(const ScrambledText<N>& block) {
    return Unscramble(block.data(), N);
}

// Text A (the `name1` label, at most 19 characters) and text B (`ProductName`, at most 16).
inline constexpr ScrambledText<19> kTextA = Scramble<19>("The KEMBO Team");
inline constexpr ScrambledText<16> kTextB = Scramble<16>("Desktop Frame");

}  // namespace kembo
