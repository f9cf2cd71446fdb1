// Dots per inch of windows and monitors. Windows 7 knows only the one system DPI;
// the per-monitor functions of Windows 8.1 and 10 are looked up at run time, and each
// query falls back to the system DPI where they are missing.
#pragma once

#include <windows.h>

#include <functional>

namespace quenlo {

inline constexpr int kDefaultDpi = 96;

// The DPI the whole desktop had when the session began.
int SystemDpi();
// The DPI a window is drawn at: that of its monitor for a per-monitor aware program.
int WindowDpi(HWND window);
// The DPI of the monitor that holds the point, or the nearest one.
int MonitorDpiAt(POINT point);
// The three queries a window lays itself out by, together, so that a test can answer
// them as a monitor of another scale than the system's would.
struct DpiQueries {
    std::function<int()> system = SystemDpi;
    std::function<int(HWND)> window = WindowDpi;
    std::function<int(POINT)> monitorAt = MonitorDpiAt;
};

// The outer rectangle of a window whose client area is `frame`, with the caption and
// borders of the given DPI.
void AdjustFrameForDpi(RECT& frame, DWORD style, DWORD exStyle, int dpi);
// A system metric (SM_CXMENUCHECK, SM_CXVSCROLL, ...) as it is at the given DPI.
int SystemMetricForDpi(int index, int dpi);

}  // namespace quenlo
