#pragma once
// Every text the program shows, one catalog per language (catalog_ja.cpp, catalog_en.cpp). Forms,
// boxes and errors ask for a text by its id; the language is chosen once at start-up.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kembo {

enum class Language { Japanese, English };

enum class TextId : int {
    None = -1,  // no text: an empty one
    // The main window's popup menu.
    MenuFile,
    MenuExit,
    MenuSettings,
    MenuOptions,
    MenuMakeShortcut,
    MenuStartAtLogon,
    MenuPinToWallpaper,
    MenuPinToWallpaperHint,
    MenuWindowSize,
    MenuWidthFromHeight,
    MenuHeightFromWidth,
    MenuHelp,
    MenuHelpContents,
    MenuAbout,
    // Message boxes: captions, the main window's own messages.
    BoxWarning,
    BoxError,
    BoxInformation,
    TrayTip,
    NotInSlideshowMode,
    NoFilesInFolder,
    NothingShowableInFolder,
    ShortcutMade,
    ShortcutFailed,
    LogonShortcutNotWritten,
    LogonShortcutNotRemoved,
    UnexpectedError,
    // The options dialog.
    OptionsCaption,
    OptionsFontFace,
    OptionsOk,
    OptionsCancel,
    PagePicture,
    LabelPicture,
    HintPicture,
    ButtonChange,
    HintChangePicture,
    LabelRange,
    HintRange,
    HintChangeRange,
    GroupRatio,
    RatioFree,
    RatioPicture,
    RatioWindow,
    HintRatio,
    LabelBrightness,
    HintBrightness,
    LabelScaling,
    HintScaling,
    PageWindow,
    LabelMarginColor,
    HintMarginColorLabel,
    MarginColorSwatch,
    HintMarginColor,
    PageSlideshow,
    LabelFolder,
    HintFolder,
    HintChangeFolder,
    LabelInterval,
    HintInterval,
    CheckSlideshow,
    HintSlideshow,
    CheckSubfolders,
    HintSubfolders,
    CheckShuffle,
    HintShuffle,
    LabelTransition,
    HintTransition,
    TransitionNone,
    TransitionRandom,
    LabelTransitionTime,
    HintTransitionTime,
    PageSystem,
    LabelTitleWait,
    HintTitleWait,
    LabelTitleWaitUnit,
    CheckUsePlugins,
    HintUsePlugins,
    GroupWindowPlace,
    PlaceNormal,
    PlaceFront,
    PlaceBack,
    PlaceWallpaper,
    CheckStatusHints,
    CheckHelpHints,
    PictureDialogTitle,
    PictureDialogFilter,
    // The display-range window.
    RangeDesignCaption,
    RangeTitle,
    RangePointCaption,
    RangeRangeCaption,
    RangeMenuOk,
    RangeMenuCancel,
    RangeMenuClear,
    RangeMenuWhole,
    // The version box.
    VersionCaption,
    VersionFontFace,
    VersionOk,
    VersionTarget,
    VersionNumber,
    // Errors raised while reading pictures, plug-ins, files and settings.
    UnknownPictureFormat,
    PictureFileMissing,
    CannotAssignToBitmap,
    MetafileInvalid,
    IconInvalid,
    PictureTooLarge,
    NotBmp,
    BmpBroken,
    BmpUnsupported,
    BmpBadSize,
    BmpHeaderLength,
    BmpOs2Huffman,
    BmpOs2Rle24,
    BmpCompression,
    BmpBits,
    BmpTopDownRle,
    BmpEmpty,
    PluginNotLoaded,
    PluginApiMissing,
    PluginFaulted,
    PluginNoAnswer,
    PluginFormatUnsupported,
    PluginManagerTwice,
    FileNotOpened,
    FileNotRead,
    FileTooLarge,
    FileNotWritten,
    RegistryNotWritten,
    RegistryNotRead,
    RegistryWrongType,
    WindowAlreadyShown,
    Count
};

inline constexpr int kTextCount = static_cast<int>(TextId::Count);

struct CatalogEntry {
    TextId id;
    const char* text;
};

// A catalog lists every id once, in the order of TextId: checked where each is written.
template <std::size_t N>
consteval bool InIdOrder(const CatalogEntry (&entries)[N]) {
    if (N != static_cast<std::size_t>(kTextCount)) return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(entries[i].id) != i || entries[i].text == nullptr) return false;
    }
    return true;
}

std::span<const CatalogEntry> Catalog(Language language);

// The language the texts are shown in: Japanese until start-up chooses.
Language CurrentLanguage();
void SetLanguage(Language language);

// A text of the current language ("" for None); with an argument, its first "%s" replaced by it.
const char* Text(TextId id);
std::string Text(TextId id, std::string_view arg);

// The language a setting asks for: "ja" or "en"; anything else (empty above all) follows the
// user's display language (a Windows LANGID): Japanese for Japanese, English for any other.
Language ResolveLanguage(std::string_view setting, uint16_t userUiLanguage);

}  // namespace kembo
