// The message-box kinds and the shell routines on the real system.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <thread>

#include "message_box_probe.h"

#include "core/message_boxes_win.h"
#include "toolkit/application_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::AnswerMessageBox;
using testing::SeenBox;

TEST(MessageBoxesTest, EachKindHasItsCaptionAndIcon) {
    Application app(GetModuleHandleW(nullptr));
    struct Kind {
        void (*show)(const std::string&);
        const char* caption;
        LPCWSTR icon;
    };
    for (const Kind& kind : {Kind{ShowWarning, "警告", IDI_WARNING}, Kind{ShowError, "エラー", IDI_ERROR},
                             Kind{ShowInformation, "情報", IDI_INFORMATION},
                             Kind{ShowInformationBeep, "情報", IDI_INFORMATION}}) {
        SeenBox seen;
        std::thread answer = AnswerMessageBox(seen);
        kind.show("スライドショーモード時は変更できません");
        answer.join();
        ASSERT_TRUE(seen.Found()) << kind.caption;
        EXPECT_EQ(Narrow(seen.caption), kind.caption);
        EXPECT_EQ(Narrow(seen.text), "スライドショーモード時は変更できません");
        EXPECT_EQ(seen.icon, LoadIconW(nullptr, kind.icon)) << kind.caption;
    }
}

TEST(ShellRoutinesTest, SpecialFoldersAndMissingDocuments) {
    Application app(GetModuleHandleW(nullptr));
    const std::string desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    EXPECT_NE(desktop.back(), '\\');
    EXPECT_NE(GetFileAttributesW(Wide(desktop).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetSpecialFolder(CSIDL_DRIVES), "");  // "My Computer" has no path
    EXPECT_EQ(GetSpecialFolder(0x7FFF), "");

    OpenDocument("C:\\no such folder\\index.html", "");  // nothing shown, nothing raised
    Sleep(300);
    EXPECT_FALSE(testing::FindMessageBox(GetCurrentProcessId()).Found());
}

}  // namespace
}  // namespace kembo
