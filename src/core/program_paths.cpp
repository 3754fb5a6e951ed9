#include "core/program_paths.h"

#include "base/name_rules.h"

namespace kembo {

ProgramPaths DeriveProgramPaths(const std::string& fullExecutablePath) {
    ProgramPaths paths;
    paths.programFolder = ExtractFilePath(fullExecutablePath);
    paths.programPath = fullExecutablePath;
    paths.programBaseName = ChangeFileExt(ExtractFileName(fullExecutablePath), "");
    paths.settingsFilePath = ChangeFileExt(fullExecutablePath, ".INI");
    // The folder already ends in a separator; the doubled one is harmless to the shell.
    paths.helpDocumentPath = paths.programFolder + "\\doc\\index.html";
    return paths;
}

std::string HelpDocumentPath(const ProgramPaths& paths, Language language) {
    if (language == Language::Japanese) return paths.helpDocumentPath;
    return paths.programFolder + "\\doc\\index-en.html";
}

}  // namespace kembo
