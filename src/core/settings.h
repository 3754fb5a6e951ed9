#pragma once
// Every persisted setting, and its loading and saving through AMIni1 stores.
#include <cstdint>
#include <memory>
#include <string>

#include "base/colour.h"
#include "core/program_paths.h"
#include "core/store.h"

namespace kembo {

struct Settings {
    // "option"
    int32_t pos = 0;
    bool flag_use_hint1 = true;
    bool flag_use_hins1 = true;
    int32_t val_usespi = 1;
    int32_t val_titlewait = 1000;
    std::string fn_bgg = "sample1.bmp";
    int32_t braito = 100;
    int32_t val_ecf = 1;
    int32_t val_fpossx = -1;
    int32_t val_fpossy = -1;
    int32_t val_fposex = -1;
    int32_t val_fposey = -1;
    int32_t val_ffrraito = 1;
    Color backcolor = 0x800080;
    std::string SlideShowDir;
    int32_t val_SSChangeTime = 30;
    bool flag_SlideShow = false;
    // Added keys (see kSettingKeys): off by default, written only once set or already stored.
    int32_t val_SSEffect = -1;         // transition between slides: -1 none, a preset, 138 random
    int32_t val_SSEffectTime = 1000;   // length of one transition in milliseconds
    bool flag_SSRandom = false;        // shuffled rounds
    bool flag_SSSubDir = false;        // the folder's subfolders take part
    int32_t val_spitimeout = 10000;    // a plug-in call abandoned after this many milliseconds
    std::string language;              // "ja", "en", or empty: the user's display language
    // "debug" (read, never written)
    int32_t debug = 0;
    int32_t debuglog = 0;
    int32_t rewritelog = 1;
    // "main"
    int32_t top = 0;
    int32_t left = 0;
    int32_t width = 400;
    int32_t height = 300;
    // "sta"
    std::string val_lastdatadir;
};

// What the settings code needs to reach its stores.
struct SettingsContext {
    const ProgramPaths& paths;
    ProfilePort& profile;
    RegistryPort& registry;
};

std::unique_ptr<AMIni1> OpenSettingsFile(const SettingsContext& context);
std::unique_ptr<AMIni1> OpenCommonKey(const SettingsContext& context);

// The ranges the added number keys are clamped to when read.
inline constexpr int32_t kSSEffectNone = -1;
inline constexpr int32_t kSSEffectRandom = 138;
inline constexpr int32_t kSSEffectTimeMin = 100;
inline constexpr int32_t kSSEffectTimeMax = 10000;
inline constexpr int32_t kSpiTimeoutMin = 1000;
inline constexpr int32_t kSpiTimeoutMax = 120000;

// "option" through one store, then "debug", "main" and "sta" through a second.
void LoadSettings(Settings& settings, const SettingsContext& context);
// The whole "option" section.
void SaveOptionSection(const Settings& settings, const SettingsContext& context);
// "option", then "main" and "sta", then the registry value "KEMBO" under "path".
void SaveSettings(const Settings& settings, const SettingsContext& context);

}  // namespace kembo
