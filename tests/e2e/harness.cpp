#include "harness.h"

#include <sstream>
#include <stdexcept>
#include <string>

#include "bmp_file.h"
#include "process_windows.h"

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

std::wstring DistFolder() { return testing::FolderFromEnvironment(L"KEMBO_DIST"); }

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

std::string KemboRun::IniValue(const std::string& section, const std::string& key) const {
    for (const auto& e : IniEntries())
        if (e.section == section && e.key == key) return e.value;
    return "<missing>";
}

HANDLE KemboRun::Start(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + ExePath() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const auto start = [&] {
        return CreateProcessW(ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              Folder().c_str(), &startup, &info) != 0;
    };
    // Once in a clean-clone run under Wine the start itself failed, before the program ran a
    // line: a failed start is tried once more, and a second failure names the system's error.
    if (!start()) {
        Sleep(500);
        if (!start()) throw std::runtime_error("KEMBO.EXE did not start: error " + std::to_string(GetLastError()));
    }
    CloseHandle(info.hThread);
    processes_.push_back(info.hProcess);
    return info.hProcess;
}

HANDLE KemboRun::StartSlideshow(const std::string& folderName, int width, int height) {
    WriteIni("[option]\r\nval_titlewait=0\r\nflag_SlideShow=1\r\nval_SSChangeTime=1\r\nSlideShowDir=" + folderName +
             "\r\n[main]\r\nwidth=" + std::to_string(width) + "\r\nheight=" + std::to_string(height) + "\r\n");
    return Start();
}

bool KemboRun::InstallPlugin(const std::wstring& path) const {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return CopyFileW(path.c_str(), (Folder() + name).c_str(), FALSE) != 0;
}

std::wstring KemboRun::Subfolder(const std::wstring& name) const {
    const std::wstring path = Folder() + name + L"\\";
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
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
    HWND window = nullptr;
    testing::WaitUntil(
        [&] {
            window = testing::FindVisibleWindow(ProcessId(), L"Tmainf_f1");
            return window || processes_.empty() || WaitForSingleObject(processes_.front(), 0) != WAIT_TIMEOUT;
        },
        timeoutMs);
    // Let the program finish showing and activating it before the test goes on.
    if (window) WaitForInputIdle(processes_.front(), 5000);
    return window;
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

ScreenShot::ScreenShot(const RECT& area)
    : width_(area.right - area.left), height_(area.bottom - area.top),
      pixels_(static_cast<size_t>(width_) * height_) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

size_t ScreenShot::Count(uint32_t rgb) const {
    size_t n = 0;
    for (uint32_t p : pixels_) n += p == rgb;
    return n;
}

ScreenShot CaptureWindow(HWND window) {
    Sleep(200);
    ScreenShot last(WindowRect(window));
    for (int i = 0; i < 25; ++i) {
        Sleep(100);
        ScreenShot now(WindowRect(window));
        bool same = now.Width() == last.Width() && now.Height() == last.Height();
        for (int y = 0; same && y < now.Height(); y += 7)
            for (int x = 0; same && x < now.Width(); x += 7) same = now.At(x, y) == last.At(x, y);
        if (same) return now;
        last = now;
    }
    return last;
}

std::vector<uint32_t> WatchColours(HWND window, int x, int y, size_t count, DWORD timeoutMs) {
    std::vector<uint32_t> seen;
    uint32_t previous = 0xFFFFFFFF;
    const DWORD start = GetTickCount();
    while (seen.size() < count && GetTickCount() - start < timeoutMs) {
        const uint32_t colour = ScreenShot(WindowRect(window)).At(x, y);
        // A colour counts once two looks agree: a frame caught mid-paint does not.
        if (colour == previous && (seen.empty() || seen.back() != colour)) {
            // Before the first picture the window may still be black, not yet painted.
            if (!(seen.empty() && colour == 0)) seen.push_back(colour);
        }
        previous = colour;
        Sleep(40);
    }
    return seen;
}

HWND FindOpenMenu(DWORD processId) { return testing::FindVisibleWindow(processId, L"#32768"); }

HWND WaitForVisible(const KemboRun& run, const wchar_t* className, DWORD timeoutMs) {
    HWND window = nullptr;
    testing::WaitUntil([&] { return (window = testing::FindVisibleWindow(run.ProcessId(), className)) != nullptr; },
                       timeoutMs);
    return window;
}

bool WaitForGone(HWND window, DWORD timeoutMs) {
    return testing::WaitUntil([window] { return !IsWindow(window); }, timeoutMs);
}

bool ChooseFromMenu(HWND mainWindow, const std::vector<MenuKey>& keys) {
    DWORD pid = 0;
    GetWindowThreadProcessId(mainWindow, &pid);
    PostMessageW(mainWindow, 0x0C00, 0, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    if (!testing::WaitUntil([&] { return (menu = FindOpenMenu(pid)) != nullptr; }, 5000)) return false;
    for (const MenuKey& key : keys) {
        PostMessageW(menu, key.character ? WM_CHAR : WM_KEYDOWN, key.character ? key.character : key.virtualKey, 0);
        Sleep(50);
    }
    return testing::WaitUntil([pid] { return FindOpenMenu(pid) == nullptr; }, 5000);
}

HWND OpenOptions(const KemboRun& run, HWND mainWindow) {
    if (!ChooseFromMenu(mainWindow, {Char(L's'), Char(L'o')})) return nullptr;
    return WaitForVisible(run, L"Toptf_f1");
}

// Whether a comes before (above) b among the top-level windows.
bool Above(HWND a, HWND b) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == a) return true;
        if (w == b) return false;
    }
    return false;
}

void WriteBlockBmp(const std::wstring& path, int bw, int bh, const std::vector<std::vector<uint32_t>>& colours) {
    const int rows = static_cast<int>(colours.size());
    const int columns = static_cast<int>(colours.front().size());
    PixelBuffer pixels(columns * bw, rows * bh);
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x) {
            const uint32_t rgb = colours[y / bh][x / bw];
            pixels.SetPixel(x, y, Bgr{static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb >> 16)});
        }
    testing::WriteBmpFile(path, pixels);
}

}  // namespace kembo::e2e
