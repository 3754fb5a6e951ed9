#pragma once
// Dots per inch, per monitor where the system knows them. The per-monitor calls are newer than
// the oldest Windows the program runs on: they are looked up once, into one typed table, and
// where they are missing every window works at the system's DPI.
#include <windows.h>

namespace kembo {

// Sent to a window whose monitor's DPI has changed (Windows 8.1 on), and asked before it, of a
// per-monitor aware window, for its size at the new DPI (Windows 10 1703 on).
inline constexpr UINT kDpiChangedMessage = 0x02E0;
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// The DPI the system was started with (the primary monitor's then).
int SystemDpi();
// The DPI of the monitor a window stands on, as the window sees it.
int WindowDpi(HWND window);
// The DPI of a monitor.
int MonitorDpi(HMONITOR monitor);
// A system metric (icon sizes and the like) at a DPI.
int SystemMetricForDpi(int index, int dpi);
// The window rectangle around a client area of that size, for the style, at a DPI (left and top
// are the client area's offsets, negative).
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

}  // namespace kembo
