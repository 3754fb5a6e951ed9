#include <gtest/gtest.h>

#include "core/program_paths.h"

namespace kembo {
namespace {

TEST(ProgramPaths, DerivedFromTheExecutablePath) {
    const struct {
        const char* exe;
        const char* folder;
        const char* baseName;
        const char* settings;
        const char* help;
    } cases[] = {
        {"C:\\Apps\\KEMBO.EXE", "C:\\Apps\\", "KEMBO", "C:\\Apps\\KEMBO.INI",
         "C:\\Apps\\\\doc\\index.html"},
        {"D:\\My.Tools\\kembo", "D:\\My.Tools\\", "kembo", "D:\\My.Tools\\kembo.INI",
         "D:\\My.Tools\\\\doc\\index.html"},
        {"\\\\srv\\share\\v1.2.exe", "\\\\srv\\share\\", "v1.2", "\\\\srv\\share\\v1.2.INI",
         "\\\\srv\\share\\\\doc\\index.html"},
    };
    for (const auto& c : cases) {
        const ProgramPaths paths = DeriveProgramPaths(c.exe);
        EXPECT_EQ(paths.programPath, c.exe);
        EXPECT_EQ(paths.programFolder, c.folder);
        EXPECT_EQ(paths.programBaseName, c.baseName);
        EXPECT_EQ(paths.settingsFilePath, c.settings);
        EXPECT_EQ(paths.helpDocumentPath, c.help);
        EXPECT_EQ(HelpDocumentPath(paths, Language::Japanese), c.help);
        EXPECT_EQ(HelpDocumentPath(paths, Language::English), c.folder + std::string("\\doc\\index-en.html"));
        EXPECT_TRUE(paths.userName.empty());
    }
}

}  // namespace
}  // namespace kembo
