#include "harness.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace kembo::e2e {

std::vector<IniEntry> ParseIni(const std::string& text) {
    std::vector<IniEntry> entries;
    std::istringstream in(text);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
    }
    return entries;
}

std::wstring DistFolder() {
    const wchar_t* dist = _wgetenv(L"KEMBO_DIST");
    if (!dist || !*dist) throw std::runtime_error("KEMBO_DIST is not set");
    std::wstring path = dist;
    if (path.front() == L'/') path = L"Z:" + path;  // Wine maps the Unix root to Z:
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    if (path.back() != L'\\') path += L'\\';
    return path;
}

void CopyTree(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((from + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + name + L"\\", to + name + L"\\");
        } else if (name != L"KEMBO.INI") {
            CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

KemboRun::KemboRun() { CopyTree(DistFolder(), folder_.Path()); }

KemboRun::~KemboRun() {
    for (HANDLE process : processes_) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
}

void KemboRun::WriteIni(const std::string& text) const { testing::WriteWholeFile(IniPath(), text); }

std::string KemboRun::ReadIni() const { return testing::ReadWholeFile(IniPath()); }

HANDLE KemboRun::Start(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + ExePath() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Folder().c_str(), &startup, &info)) {
        throw std::runtime_error("KEMBO.EXE did not start");
    }
    CloseHandle(info.hThread);
    processes_.push_back(info.hProcess);
    return info.hProcess;
}

HWND KemboRun::FindProcessWindow(const wchar_t* className) const {
    const DWORD pid = ProcessId();
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid) return window;
    }
    return nullptr;
}

HWND KemboRun::WaitForMainWindow(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        HWND window = FindProcessWindow(L"Tmainf_f1");
        if (window && IsWindowVisible(window)) return window;
        if (processes_.empty() || WaitForSingleObject(processes_.front(), 0) != WAIT_TIMEOUT)
            return nullptr;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

int KemboRun::WaitForExit(HANDLE process, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

int KemboRun::Close(DWORD timeoutMs) {
    if (processes_.empty()) return -1;
    if (HWND window = FindProcessWindow(L"Tmainf_f1")) PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit(processes_.front(), timeoutMs);
}

namespace {
constexpr wchar_t kRegisteredKey[] = L"SOFTWARE\\VOLKA\\Common\\path";
}

std::wstring ReadRegisteredPath() {
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, kRegisteredKey, L"KEMBO", RRF_RT_REG_SZ, nullptr, buffer,
                     &bytes) != ERROR_SUCCESS) {
        return std::wstring();
    }
    return buffer;
}

void DeleteRegisteredPath() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegisteredKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"KEMBO");
        RegCloseKey(key);
    }
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

}  // namespace kembo::e2e
