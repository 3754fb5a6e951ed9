#include "toolkit/plugin_ports_win.h"

#include <windows.h>

#include <vector>

#include "toolkit/contained_call_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {

HMODULE AsModule(ModuleLoader::Module module) { return static_cast<HMODULE>(module); }
HLOCAL AsLocal(LocalMemory::Handle handle) { return static_cast<HLOCAL>(handle); }

// Calls a "fill this buffer" function that returns the length it needs when the buffer is too
// small, growing the buffer until the text fits; "" when the call fails.
template <typename Call>
std::string GrowingText(Call call) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const UINT length = call(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0) return "";
        if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
        buffer.resize(length + 1);
    }
    return "";
}

}  // namespace

WinModuleLoader::WinModuleLoader() { SetDllDirectoryW(L""); }

ModuleLoader::Module WinModuleLoader::Load(const std::string& path) {
    if (path.empty()) return nullptr;
    // A broken or foreign file must fail quietly, without the system's error box.
    DWORD previousMode = 0;
    const bool modeSet =
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode) != FALSE;
    // Dependencies are looked for beside the plug-in, in the program's folder and in the system
    // folder, never in the current one: SetDllDirectoryW(L"") alone does not ensure that
    // everywhere (Wine ignores it). Systems without these flags, and relative paths, which they
    // refuse, load the classic way.
    const std::wstring widePath = Wide(path);
    // A library's entry point runs now and may change the floating-point control state.
    const FloatControlScope floatControl;
    HMODULE module = LoadLibraryExW(widePath.c_str(), nullptr,
                                    LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryExW(widePath.c_str(), nullptr, 0);
    if (modeSet) SetThreadErrorMode(previousMode, nullptr);
    return module;
}

void* WinModuleLoader::Resolve(Module module, const char* name) {
    if (!module || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(AsModule(module), name));
}

void WinModuleLoader::Free(Module module) {
    if (!module) return;
    const FloatControlScope floatControl;
    FreeLibrary(AsModule(module));
}

std::string WinModuleLoader::ModulePath(Module module) {
    if (!module) return "";  // a null module would name the program itself
    // GetModuleFileNameW returns the buffer size, not the needed one, when it cuts the path.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length = GetModuleFileNameW(AsModule(module), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return "";
        if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 4);
    }
    return "";
}

bool WinModuleLoader::CallGuarded(void (*call)(void*), void* context) { return CallContained(call, context).finished; }

void* WinLocalMemory::Lock(Handle handle) { return handle ? LocalLock(AsLocal(handle)) : nullptr; }

void WinLocalMemory::Unlock(Handle handle) {
    if (handle) LocalUnlock(AsLocal(handle));
}

std::size_t WinLocalMemory::Size(Handle handle) { return handle ? LocalSize(AsLocal(handle)) : 0; }

void WinLocalMemory::Free(Handle handle) {
    if (handle) LocalFree(AsLocal(handle));
}

std::string WinAnsiCodec::ToAnsi(const std::string& utf8) {
    if (utf8.empty()) return "";
    const std::wstring wide = Wide(utf8);
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return "";
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::string WinAnsiCodec::FromAnsi(const std::string& ansi) {
    if (ansi.empty()) return "";
    const int ansiLength = static_cast<int>(ansi.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
    if (length <= 0) return "";
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, wide.data(), length);
    return Narrow(wide);
}

std::string WinSystemFolders::CurrentFolder() {
    return GrowingText([](wchar_t* buffer, UINT size) { return static_cast<UINT>(GetCurrentDirectoryW(size, buffer)); });
}

std::string WinSystemFolders::SystemFolder() {
    return GrowingText([](wchar_t* buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
}

std::string WinSystemFolders::WindowsFolder() {
    return GrowingText([](wchar_t* buffer, UINT size) { return GetWindowsDirectoryW(buffer, size); });
}

}  // namespace kembo
