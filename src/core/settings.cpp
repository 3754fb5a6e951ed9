#include "core/settings.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <type_traits>
#include <variant>

#include "core/staged_ini.h"

namespace kembo {
namespace {

// The kind of a key follows from the type of its member.
using Member = std::variant<int32_t Settings::*, bool Settings::*, std::string Settings::*,
                            Color Settings::*>;

struct SettingKey {
    const char* section;
    const char* key;
    Member member;
    // A key added after the first release: a number is clamped to [min, max] when read, and
    // the key is written only when it differs from its default or the file already holds it,
    // so the file of a user who never sets it stays byte for byte what it was.
    bool added = false;
    int32_t min = 0;
    int32_t max = 0;
};

constexpr std::string_view kOption = "option";
constexpr std::string_view kDebug = "debug";

// Every persisted key in the order it is read and written.
const std::array<SettingKey, 31> kSettingKeys{{
    {"option", "pos", &Settings::pos},
    {"option", "flag_use_hint1", &Settings::flag_use_hint1},
    {"option", "flag_use_hins1", &Settings::flag_use_hins1},
    {"option", "val_usespi", &Settings::val_usespi},
    {"option", "val_titlewait", &Settings::val_titlewait},
    {"option", "fn_bgg", &Settings::fn_bgg},
    {"option", "braito", &Settings::braito},
    {"option", "val_ecf", &Settings::val_ecf},
    {"option", "val_fpossx", &Settings::val_fpossx},
    {"option", "val_fpossy", &Settings::val_fpossy},
    {"option", "val_fposex", &Settings::val_fposex},
    {"option", "val_fposey", &Settings::val_fposey},
    {"option", "val_ffrraito", &Settings::val_ffrraito},
    {"option", "backcolor", &Settings::backcolor},
    {"option", "SlideShowDir", &Settings::SlideShowDir},
    {"option", "val_SSChangeTime", &Settings::val_SSChangeTime},
    {"option", "flag_SlideShow", &Settings::flag_SlideShow},
    {"option", "val_SSEffect", &Settings::val_SSEffect, true, kSSEffectNone, kSSEffectRandom},
    {"option", "val_SSEffectTime", &Settings::val_SSEffectTime, true, kSSEffectTimeMin, kSSEffectTimeMax},
    {"option", "flag_SSRandom", &Settings::flag_SSRandom, true},
    {"option", "flag_SSSubDir", &Settings::flag_SSSubDir, true},
    {"option", "val_spitimeout", &Settings::val_spitimeout, true, kSpiTimeoutMin, kSpiTimeoutMax},
    {"option", "language", &Settings::language, true},
    {"debug", "debug", &Settings::debug},
    {"debug", "debuglog", &Settings::debuglog},
    {"debug", "rewritelog", &Settings::rewritelog},
    {"main", "top", &Settings::top},
    {"main", "left", &Settings::left},
    {"main", "width", &Settings::width},
    {"main", "height", &Settings::height},
    {"sta", "val_lastdatadir", &Settings::val_lastdatadir},
}};

const Settings& Defaults() {
    static const Settings defaults;
    return defaults;
}

void ReadKey(AMIni1& store, const SettingKey& entry, Settings& settings) {
    const Settings& defaults = Defaults();
    std::visit(
        [&](auto member) {
            using Value = std::remove_reference_t<decltype(settings.*member)>;
            auto& target = settings.*member;
            const Value& fallback = defaults.*member;
            if constexpr (std::is_same_v<Value, bool>) {
                target = store.ReadBool(entry.section, entry.key, fallback);
            } else if constexpr (std::is_same_v<Value, int32_t>) {
                target = store.ReadInteger(entry.section, entry.key, fallback);
                if (entry.added && entry.min < entry.max) target = std::clamp(target, entry.min, entry.max);
            } else if constexpr (std::is_same_v<Value, Color>) {
                target = store.ReadColor(entry.section, entry.key, fallback);
            } else {
                target = store.ReadString(entry.section, entry.key, fallback);
            }
        },
        entry.member);
}

bool FileHolds(AMIni1& store, const SettingKey& entry) {
    // No value the program writes starts with a DEL character.
    static const std::string kAbsent = "\x7f(absent)";
    return store.ReadString(entry.section, entry.key, kAbsent) != kAbsent;
}

void WriteKey(AMIni1& store, const SettingKey& entry, const Settings& settings) {
    std::visit(
        [&](auto member) {
            using Value = std::remove_cvref_t<decltype(settings.*member)>;
            const Value& value = settings.*member;
            if (entry.added && value == Defaults().*member && !FileHolds(store, entry)) return;
            if constexpr (std::is_same_v<Value, bool>) {
                store.WriteBool(entry.section, entry.key, value);
            } else if constexpr (std::is_same_v<Value, int32_t>) {
                store.WriteInteger(entry.section, entry.key, value);
            } else if constexpr (std::is_same_v<Value, Color>) {
                store.WriteColor(entry.section, entry.key, value);
            } else {
                store.WriteString(entry.section, entry.key, value);
            }
        },
        entry.member);
}

void WriteOptionSection(const Settings& settings, const SettingsContext& context) {
    const auto store = OpenSettingsFile(context);
    for (const SettingKey& entry : kSettingKeys) {
        if (entry.section == kOption) WriteKey(*store, entry, settings);
    }
}

// Both saves write a copy of the file through the same profile calls as ever and put it in
// place at the end, so the file is never seen half written: "option" through one store, then
// for all sections "main" and "sta" through a second.
void SaveStaged(const Settings& settings, const SettingsContext& context, bool allSections) {
    StagedIniFile staged(context.profile, context.paths.settingsFilePath);
    const SettingsContext stagedContext{context.paths, staged.Profile(), context.registry};
    WriteOptionSection(settings, stagedContext);
    if (allSections) {
        // "debug" is only ever read: a file without it stays without it.
        const auto store = OpenSettingsFile(stagedContext);
        for (const SettingKey& entry : kSettingKeys) {
            if (entry.section != kOption && entry.section != kDebug) WriteKey(*store, entry, settings);
        }
    }
    staged.Commit();
}

}  // namespace

std::unique_ptr<AMIni1> OpenSettingsFile(const SettingsContext& context) {
    return AMIni1::CreateIni(context.profile, context.paths.settingsFilePath);
}

std::unique_ptr<AMIni1> OpenCommonKey(const SettingsContext& context) {
    return AMIni1::CreateRegIni(context.registry, kCommonKeyPath);
}

void LoadSettings(Settings& settings, const SettingsContext& context) {
    // A save the program did not live to finish leaves its copy; the file itself is whole.
    RemoveStaleStaging(context.profile, context.paths.settingsFilePath);
    {
        const auto store = OpenSettingsFile(context);
        for (const SettingKey& entry : kSettingKeys) {
            if (entry.section == kOption) ReadKey(*store, entry, settings);
        }
    }
    const auto store = OpenSettingsFile(context);
    for (const SettingKey& entry : kSettingKeys) {
        if (entry.section != kOption) ReadKey(*store, entry, settings);
    }
}

void SaveOptionSection(const Settings& settings, const SettingsContext& context) {
    SaveStaged(settings, context, false);
}

void SaveSettings(const Settings& settings, const SettingsContext& context) {
    SaveStaged(settings, context, true);
    OpenCommonKey(context)->WriteString("path", "KEMBO", context.paths.programPath);
}

}  // namespace kembo
