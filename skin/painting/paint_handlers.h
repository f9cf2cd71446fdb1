// WM_PAINT and WM_NCPAINT of skinned windows, chosen by class name. The contract is
// that of every skin handler: (previous procedure, window, message, wParam, lParam),
// returning what the window procedure returns.
#pragma once

#include <windows.h>

namespace quenlo::skin {

LRESULT OnPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnNcPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace quenlo::skin
