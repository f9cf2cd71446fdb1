#include "platform/display_dpi.h"

#include "platform/system_library.h"

namespace quenlo {
namespace {

// user32 is loaded with the program; newer functions are looked up in it by name.
template <typename Function>
Function User32Function(const char* name) {
    // The cast through void keeps GCC's function-type warning quiet.
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

}  // namespace

int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

namespace {

// As the process sees it: the system DPI unless the process scales per monitor.
int MonitorDpi(HMONITOR monitor) {
    // shcore is no Known DLL, and Windows 7 has none: from the system folder or not at all.
    static const auto getDpiForMonitor =
        SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    if (getDpiForMonitor != nullptr) {
        UINT dpiX = 0;
        UINT dpiY = 0;
        if (SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiY > 0) {
            return static_cast<int>(dpiY);
        }
    }
    return SystemDpi();
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    // Windows 8.1 and 10 before 1607 scale per monitor without GetDpiForWindow: the
    // window's monitor decides there, as it did when the window was sized.
    return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int MonitorDpiAt(POINT point) {
    return MonitorDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

void AdjustFrameForDpi(RECT& frame, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi =
        User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr ||
        !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto metricForDpi =
        User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (metricForDpi != nullptr) {
        return metricForDpi(index, static_cast<UINT>(dpi));
    }
    return GetSystemMetrics(index);
}

}  // namespace quenlo
