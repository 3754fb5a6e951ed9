#pragma once
// What the benchmarks that drive KEMBO.EXE from another program share: paths as Wine hands
// them over, a copy of a program folder, its main window, and the clock.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "toolkit/text_win.h"

namespace kembo::bench {

// A Unix path ("/pictures/a.png") as Wine sees it ("Z:\pictures\a.png"); Windows paths stay.
inline std::wstring WindowsPath(std::wstring path) {
    const bool unix = !path.empty() && path.front() == L'/';
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    if (unix) path.insert(0, L"Z:");
    return path;
}

inline std::wstring WithSeparator(const std::wstring& folder) {
    std::wstring path = WindowsPath(folder);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

// The files of a folder (not its subfolders, nor its settings file) into another; those whose
// names end with `leaveOut` stay behind.
inline void CopyFiles(const std::wstring& from, const std::wstring& to, const std::wstring& leaveOut = L"") {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((from + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot list " + Narrow(from));
    do {
        const std::wstring name = data.cFileName;
        const bool leftOut = !leaveOut.empty() && name.size() >= leaveOut.size() &&
                             _wcsicmp(name.c_str() + name.size() - leaveOut.size(), leaveOut.c_str()) == 0;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"KEMBO.INI" && !leftOut)
            CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// The visible top-level window of the class that the process owns, or nullptr.
inline HWND FindVisibleWindowOf(DWORD processId, const wchar_t* className) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

inline HWND FindMainWindow(DWORD processId) { return FindVisibleWindowOf(processId, L"Tmainf_f1"); }

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace kembo::bench
