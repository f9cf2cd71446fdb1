// Asking the platform for one WM_MOUSELEAVE when the mouse leaves a window.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// Uses TrackMouseEvent when user32 exports it (probed by ApplySkin), otherwise the
// common controls' _TrackMouseEvent from the system folder; without either, no notice
// comes and a hovered control keeps its hover look until the mouse moves over another.
// The result is of no use to the callers.
void TrackMouseLeave(HWND hWnd);

// Requests the leave notice once per visit: MOUSEFLAG marks a pending request.
void TrackMouseLeaveOnce(HWND hWnd);

}  // namespace quenlo::skin
