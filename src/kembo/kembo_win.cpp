#include "kembo/kembo_win.h"

#include <shellapi.h>

#include <vector>

#include "base/catalog.h"
#include "base/errors.h"
#include "base/name_rules.h"
#include "core/program.h"
#include "dialogs/range_form_win.h"
#include "toolkit/application_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/ole_win.h"
#include "toolkit/plugin_helper_win.h"
#include "toolkit/plugin_ports_win.h"
#include "loading/picture_formats.h"
#include "loading/spi_bitmap.h"
#include "splash/title_splash_win.h"
#include "toolkit/handles_win.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"
#include "window/main_form_win.h"

namespace kembo {

namespace {

constexpr const char* kHelperProgram = "KEMBOSPI.EXE";
// What the plug-ins told about themselves, beside the program ("KEMBOSPI.cache"). Its extension
// must not begin with "spi": the plug-in search's "*.spi" matches short names too, and would take
// a "KEMBO.spicache" (short name KEMBO~1.SPI) for a plug-in, asking the helper about it at every
// start.
constexpr const char* kCacheSuffix = "SPI.cache";
constexpr const char* kTrustedPlugin = "kembowic.spi";

std::string ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    // The expanded full path, as the program folder is derived from it.
    const DWORD needed = GetFullPathNameW(buffer.data(), 0, nullptr, nullptr);
    if (needed == 0) return Narrow(buffer.data());
    std::vector<wchar_t> full(needed + 1);
    GetFullPathNameW(buffer.data(), needed + 1, full.data(), nullptr);
    return Narrow(full.data());
}

std::string LogonUserName() {
    std::vector<wchar_t> buffer(32768);
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!GetUserNameW(buffer.data(), &size)) return std::string();
    return Narrow(buffer.data());
}

void FillProgramPaths(Program& program) {
    const std::string userName = LogonUserName();
    program.paths = DeriveProgramPaths(ExecutablePath());
    program.paths.userName = userName;
    program.paths.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    program.paths.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    program.state.splashAllowed = true;
}

// Only whether there is any parameter matters: a file named there is not opened.
bool CommandLineHasParameters() {
    int count = 0;
    if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) LocalFree(arguments);
    return count > 1;
}

}  // namespace

int RunKembo(HINSTANCE instance) {
    // 1. One copy only: a second one ends at once, silently.
    SetLastError(ERROR_SUCCESS);
    KernelHandle semaphore(CreateSemaphoreW(nullptr, 1, 1, L"KEMBO"));
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    WinProfilePort profilePort;
    WinRegistryPort registryPort;
    WinFileSystem fileSystem;
    WinModuleLoader moduleLoader;
    WinLocalMemory localMemory;
    WinAnsiCodec ansiCodec;
    WinSystemFolders systemFolders;
    Program program(SystemPorts{profilePort, registryPort, fileSystem, moduleLoader, localMemory, ansiCodec, systemFolders});
    // OLE on the GUI thread before any plug-in loads: some of them use COM.
    OleSession ole;
    // Plug-in extensions are read by the plug-in picture class from now until the end.
    StartSPIBitmap();

    // 2. The title is the executable's base name.
    Application app(instance);
    app.SetTitle(DeriveProgramPaths(ExecutablePath()).programBaseName);

    // Outside plug-ins load in the helper; ours, which the program trusts, in this process.
    std::unique_ptr<WinHelperPort> helperPort;
    std::unique_ptr<HelperPluginBroker> broker;
    std::unique_ptr<Tmainf_f1> mainForm;
    std::unique_ptr<Tsetgrngf_f9> idleRangeForm;
    try {
        FillProgramPaths(program);                        // 3
        // The texts follow the user's display language until the settings may say otherwise.
        SetLanguage(ResolveLanguage("", GetUserDefaultUILanguage()));
        const std::string& folder = program.paths.programFolder;
        helperPort = std::make_unique<WinHelperPort>(folder + kHelperProgram,
                                                     folder + program.paths.programBaseName + kCacheSuffix);
        broker = std::make_unique<HelperPluginBroker>(*helperPort, fileSystem,
                                                      SpiPorts{moduleLoader, localMemory, ansiCodec},
                                                      folder + kTrustedPlugin);
        program.ports.broker = broker.get();
        LoadSettings(program.settings, program.Storage());  // 4
        SetLanguage(ResolveLanguage(program.settings.language, GetUserDefaultUILanguage()));
        app.Initialize();                                 // 5
        // 18: closed on every way out of this block, before an error is reported.
        TitleSplash splash(app, program);
        splash.ShowTitleSplash(CommandLineHasParameters());  // 6

        mainForm = std::make_unique<Tmainf_f1>(app, program);  // 7
        mainForm->Create();

        mainForm->ApplyWindowSettings();                  // 9
        mainForm->Hide();                                 // 10
        ShowWindow(app.Handle(), SW_HIDE);

        if (program.settings.val_titlewait > 0) Sleep(program.settings.val_titlewait);  // 11
        splash.CloseTitleSplash();                        // 12

        // 13. What the user does not see waits until the window is on the screen: each of
        // these costs a top-level window of its own.
        app.Run([&] {
            // 8. Kept hidden for the whole run; the options dialog makes its own when it needs one.
            idleRangeForm = std::make_unique<Tsetgrngf_f9>(app);
            mainForm->AddTrayIcon();
            // A shell without a taskbar shows the icon in a window of its own, just made and on
            // top: the frame takes its place in the z-order again.
            mainForm->ApplyZOrder();
        });

        mainForm->RemoveTrayIcon();                       // 14
        mainForm->CaptureWindowRect();                    // 15
        SaveSettings(program.settings, program.Storage());  // 16
        mainForm->Hide();                                 // 17
    } catch (const std::exception& error) {
        app.HandleException(error);
    } catch (...) {
        app.HandleUnknownException();
    }
    idleRangeForm.reset();
    mainForm.reset();
    EndSPIBitmap(PictureFormats::Global());
    return 0;  // the program has no exit codes of its own                                      // 19, 20: the semaphore closes here
}

}  // namespace kembo
