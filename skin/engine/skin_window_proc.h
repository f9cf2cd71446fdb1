// The window procedure of every skinned window and its life-cycle handlers.
#pragma once

#include <windows.h>

namespace quenlo::skin {

LRESULT CALLBACK SkinWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Life-cycle handlers; the contract is that of the input handlers.
LRESULT OnActivate(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnSize(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnWindowPosChanged(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Repaints a skinned check box or option button in its normal state; goes on.
BOOL CALLBACK RepaintCheckChildProc(HWND hWnd, LPARAM lParam);

}  // namespace quenlo::skin
