#include "base/catalog.h"

#include <atomic>

#include "base/errors.h"
#include "base/text.h"

namespace kembo {

std::span<const CatalogEntry> JapaneseCatalog();
std::span<const CatalogEntry> EnglishCatalog();

namespace {

constexpr uint16_t kLangJapanese = 0x11;  // the primary language of a LANGID

std::atomic<Language>& Current() {
    static std::atomic<Language> language{Language::Japanese};
    return language;
}

}  // namespace

std::span<const CatalogEntry> Catalog(Language language) {
    return language == Language::English ? EnglishCatalog() : JapaneseCatalog();
}

Language CurrentLanguage() { return Current().load(std::memory_order_relaxed); }

void SetLanguage(Language language) { Current().store(language, std::memory_order_relaxed); }

const char* Text(TextId id) {
    if (id == TextId::None) return "";
    return Catalog(CurrentLanguage())[static_cast<std::size_t>(id)].text;
}

std::string Text(TextId id, std::string_view arg) { return FormatText(Text(id), arg); }

Language ResolveLanguage(std::string_view setting, uint16_t userUiLanguage) {
    if (SameTextAscii(setting, "ja")) return Language::Japanese;
    if (SameTextAscii(setting, "en")) return Language::English;
    return (userUiLanguage & 0x3FF) == kLangJapanese ? Language::Japanese : Language::English;
}

}  // namespace kembo
