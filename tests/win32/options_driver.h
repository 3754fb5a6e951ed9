#pragma once
// Driving the options dialog from a test as a user drives it: its controls found by their table
// identifiers, texts set, buttons clicked, and the common dialogs it opens answered from a
// thread of their own.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "controls.h"
#include "dialogs/options_form_win.h"
#include "dialogs/options_table.h"
#include "process_windows.h"
#include "temp_folder.h"
#include "toolkit/application_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/ole_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"

namespace kembo::testing {

struct Found {
    int id;
    const wchar_t* windowClass;
    std::vector<HWND> windows;
};

inline BOOL CALLBACK Collect(HWND window, LPARAM lParam) {
    auto& found = *reinterpret_cast<Found*>(lParam);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (GetDlgCtrlID(window) == found.id && (!found.windowClass || _wcsicmp(name, found.windowClass) == 0)) {
        found.windows.push_back(window);
    }
    return TRUE;
}

// The windows of a control of the table, in the order they stand on the screen (top to bottom).
inline std::vector<HWND> WindowsOf(HWND dialog, const char* name, const wchar_t* windowClass = nullptr) {
    Found found{OptionControlId(name), windowClass, {}};
    EnumChildWindows(dialog, &Collect, reinterpret_cast<LPARAM>(&found));
    std::stable_sort(found.windows.begin(), found.windows.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top < rb.top;
    });
    return found.windows;
}

inline HWND Window(HWND dialog, const char* name) {
    const OptionControl& row = OptionControlNamed(name);
    const wchar_t* windowClass = row.kind == ControlKind::NumberField ? L"Edit" : nullptr;
    const auto windows = WindowsOf(dialog, name, windowClass);
    return windows.empty() ? nullptr : windows.front();
}

inline std::vector<HWND> RadioItems(HWND dialog, const char* name) {
    std::vector<HWND> items;
    for (HWND w : WindowsOf(dialog, name)) {
        if ((GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON) items.push_back(w);
    }
    return items;
}

inline void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
inline bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A common dialog of this process with the given caption, handled on a thread of its own while
// the test's thread runs it.
inline std::thread OnCommonDialog(const std::wstring& caption, std::function<void(HWND)> act) {
    return std::thread([caption, act] {
        HWND box = nullptr;
        const auto shown = [&] {
            return (box = FindVisibleWindow(GetCurrentProcessId(), L"#32770", caption.c_str())) != nullptr;
        };
        if (WaitUntil(shown, 20000)) {
            act(box);
        } else {
            ADD_FAILURE() << "no dialog " << Narrow(caption);
        }
    });
}

// The main window stands first, as in the program: closing the dialog then ends only the dialog.
class MainStandIn : public Form {
public:
    explicit MainStandIn(Application& app) : Form(app, L"TOptionsTestMain") {
        CreateHandle(WS_POPUP, 0, 0, 0, 100, 100);
    }
};

struct OptionsDialogTest : ::testing::Test {
    TempFolder folder;
    WinProfilePort profile;
    WinRegistryPort registry;
    WinFileSystem files;
    WinModuleLoader modules;
    WinLocalMemory memory;
    WinAnsiCodec ansi;
    WinSystemFolders systemFolders;
    Program program{SystemPorts{profile, registry, files, modules, memory, ansi, systemFolders}};
    OleSession ole;
    Application app{GetModuleHandleW(nullptr)};
    MainStandIn main{app};
    int captured = 0;
    int applied = 0;

    void SetUp() override { program.paths.settingsFilePath = Narrow(folder.File(L"KEMBO.INI")); }

    std::unique_ptr<Toptf_f1> Open() {
        return std::make_unique<Toptf_f1>(app, program, OptionsDialogHost{[this] { ++captured; }, [this] { ++applied; }});
    }
    std::string Ini() const {
        return testing::FileExists(folder.File(L"KEMBO.INI")) ? testing::ReadWholeFile(folder.File(L"KEMBO.INI")) : "";
    }
};

}  // namespace kembo::testing
