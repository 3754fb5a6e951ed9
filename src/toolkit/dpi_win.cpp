#include "toolkit/dpi_win.h"

#include "toolkit/dpi.h"
#include "toolkit/handles_win.h"
#include "toolkit/optional_calls_win.h"

namespace kembo {

namespace {

// The per-monitor DPI calls, nullptr where the system lacks them.
struct DpiCalls {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
};

const DpiCalls& Calls() {
    static const DpiCalls calls = [] {
        DpiCalls c;
        const HMODULE user = GetModuleHandleW(L"user32.dll");
        ResolveCall(c.getDpiForWindow, user, "GetDpiForWindow");
        ResolveCall(c.getSystemMetricsForDpi, user, "GetSystemMetricsForDpi");
        ResolveCall(c.adjustWindowRectExForDpi, user, "AdjustWindowRectExForDpi");
        // Loaded for the process's life: the table keeps its address.
        ResolveCall(c.getDpiForMonitor, LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor");
        return c;
    }();
    return calls;
}

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

int Sane(UINT dpi) { return dpi > 0 && dpi < 10000 ? static_cast<int>(dpi) : SystemDpi(); }

}  // namespace

int SystemDpi() {
    static const int dpi = [] {
        const WindowDc screen(nullptr);
        const int value = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return value > 0 ? value : kDesignDpi;
    }();
    return dpi;
}

int WindowDpi(HWND window) {
    if (!window || !Calls().getDpiForWindow) return SystemDpi();
    return Sane(Calls().getDpiForWindow(window));
}

int MonitorDpi(HMONITOR monitor) {
    UINT x = 0, y = 0;
    if (!monitor || !Calls().getDpiForMonitor || FAILED(Calls().getDpiForMonitor(monitor, kEffectiveDpi, &x, &y))) {
        return SystemDpi();
    }
    return Sane(y);
}

int SystemMetricForDpi(int index, int dpi) {
    if (Calls().getSystemMetricsForDpi) return Calls().getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    // The system's metrics are for its own DPI.
    return ::MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    RECT r{0, 0, clientWidth, clientHeight};
    if (!Calls().adjustWindowRectExForDpi ||
        !Calls().adjustWindowRectExForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        r = RECT{0, 0, clientWidth, clientHeight};
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    }
    return r;
}

}  // namespace kembo
