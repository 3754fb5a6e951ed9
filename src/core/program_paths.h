#pragma once
// Program-wide facts fixed at start-up.
#include <cstdint>
#include <string>

#include "base/catalog.h"

namespace kembo {

// Key below HKEY_CURRENT_USER under which the program records where it lives.
inline constexpr const char* kCommonKeyPath = "\\SOFTWARE\\VOLKA\\Common";

struct ProgramPaths {
    std::string programFolder;     // ends in a separator
    std::string programPath;       // full path of the executable
    std::string programBaseName;   // file name without folder and extension
    std::string settingsFilePath;  // programPath with the extension ".INI"
    std::string helpDocumentPath;  // programFolder + "\doc\index.html"
    std::string userName;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
};

// Fills the path fields from the executable's full path (userName and screen size are left).
ProgramPaths DeriveProgramPaths(const std::string& fullExecutablePath);
// The help page in a language: helpDocumentPath in Japanese, its English twin beside it.
std::string HelpDocumentPath(const ProgramPaths& paths, Language language);

struct AppState {
    bool splashAllowed = false;
    bool splashShowing = false;
    bool zOrderApplying = false;
};

}  // namespace kembo
