#pragma once
// Drives the real KEMBO.EXE: a private copy of the program folder, an INI file written (or
// not) before the start, the program started and found by its window class, closed as a user
// closes it, and what it left behind read back.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "temp_folder.h"

#include <cstdint>

namespace kembo::e2e {

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const IniEntry&) const = default;
};

// The entries of an INI text in file order.
std::vector<IniEntry> ParseIni(const std::string& text);

class KemboRun {
public:
    KemboRun();
    ~KemboRun();
    KemboRun(const KemboRun&) = delete;
    KemboRun& operator=(const KemboRun&) = delete;

    const std::wstring& Folder() const { return folder_.Path(); }
    std::wstring ExePath() const { return folder_.File(L"KEMBO.EXE"); }
    std::wstring IniPath() const { return folder_.File(L"KEMBO.INI"); }

    void WriteIni(const std::string& text) const;
    std::string ReadIni() const;
    std::vector<IniEntry> IniEntries() const { return ParseIni(ReadIni()); }
    // One value of the INI file, "<missing>" when the entry is not there.
    std::string IniValue(const std::string& section, const std::string& key) const;

    // Starts a copy of the program; several copies may run.
    HANDLE Start(const std::wstring& arguments = L"");
    // Writes an INI file for a slideshow of the subfolder (changing every second, no splash, a
    // window of width × height) and starts the program.
    HANDLE StartSlideshow(const std::string& folderName, int width, int height);
    // A plug-in file put beside the program; false when it could not be copied.
    bool InstallPlugin(const std::wstring& path) const;
    // A new folder in the program's folder, with a trailing backslash.
    std::wstring Subfolder(const std::wstring& name) const;
    // The visible main window of the first copy, or nullptr after the timeout.
    HWND WaitForMainWindow(DWORD timeoutMs = 15000);
    // WM_CLOSE to the main window, as the menu's exit does; the process exit code, or -1 when
    // it did not end in time.
    int Close(DWORD timeoutMs = 15000);
    // Waits for a started process to end; its exit code, or -1 on timeout.
    static int WaitForExit(HANDLE process, DWORD timeoutMs);

    // A top-level window of the first copy with the given class, nullptr if none.
    HWND FindProcessWindow(const wchar_t* className) const;
    DWORD ProcessId() const { return processes_.empty() ? 0 : GetProcessId(processes_.front()); }
    HANDLE Process() const { return processes_.empty() ? nullptr : processes_.front(); }

private:
    testing::TempFolder folder_;
    std::vector<HANDLE> processes_;
};

// The folder of the built program (from KEMBO_DIST) as a Windows path ending in '\'.
std::wstring DistFolder();
void CopyTree(const std::wstring& from, const std::wstring& to);

// HKCU\SOFTWARE\VOLKA\Common\path, value "KEMBO"; empty when missing.
std::wstring ReadRegisteredPath();
void DeleteRegisteredPath();

RECT WindowRect(HWND window);
// Whether a comes before (above) b among the top-level windows.
bool Above(HWND a, HWND b);

// A window of the program with this class, once it shows (or nullptr after the time is up).
HWND WaitForVisible(const KemboRun& run, const wchar_t* className, DWORD timeoutMs = 10000);
// Whether the window is destroyed before the time is up.
bool WaitForGone(HWND window, DWORD timeoutMs = 10000);

// What the screen shows in a rectangle (screen coordinates), as 0x00RRGGBB values row by row.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& area);
    uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // How many pixels equal the colour.
    size_t Count(uint32_t rgb) const;

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};
// A screenshot of a window, once it has painted: waits until two looks agree.
ScreenShot CaptureWindow(HWND window);
// The colours one point of a window shows in turn, each once it holds for two looks, until
// count changes were seen or the time is up. A black start (not yet painted) is left out.
std::vector<uint32_t> WatchColours(HWND window, int x, int y, size_t count, DWORD timeoutMs);

// A key pressed in an open menu: a character (an item's accelerator) or a virtual key.
struct MenuKey {
    wchar_t character = 0;
    WPARAM virtualKey = 0;
};
inline MenuKey Char(wchar_t c) { return MenuKey{c, 0}; }
inline MenuKey Key(WPARAM vk) { return MenuKey{0, vk}; }
// Opens the popup menu through the notification-area icon's right-button callback, as a user
// does, presses the keys in it and waits for it to close. False when no menu opened or it
// stayed open.
bool ChooseFromMenu(HWND mainWindow, const std::vector<MenuKey>& keys);
// The options dialog opened by its menu keys (設定(&S) > オプション(&O), the same letters in
// English); nullptr when it did not come.
HWND OpenOptions(const KemboRun& run, HWND mainWindow);
// The popup menu window (#32768) of the process, nullptr when no menu is open.
HWND FindOpenMenu(DWORD processId);

// A BMP file of solid blocks: colours[row][column] 0x00RRGGBB, each block bw × bh pixels.
void WriteBlockBmp(const std::wstring& path, int bw, int bh, const std::vector<std::vector<uint32_t>>& colours);

}  // namespace kembo::e2e
