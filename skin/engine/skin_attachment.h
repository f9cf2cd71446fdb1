// Attaching the skin to a window tree and removing it again.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// Builds the skin images when none exist, then attaches hWnd and its descendants.
// Returns what SkinWindow returns.
INT_PTR ApplySkin(HWND hWnd);
// Detaches hWnd and its descendants; the last detached window releases the images.
INT_PTR RemoveSkin(HWND hWnd);

// 1 when this call attached (or detached) the window; 0 for a null handle or a
// window already in (or not in) the wanted state.
INT_PTR SkinWindow(HWND hWnd);
INT_PTR UnskinWindow(HWND hWnd);

BOOL CALLBACK SkinChildProc(HWND hWnd, LPARAM lParam);
BOOL CALLBACK UnskinChildProc(HWND hWnd, LPARAM lParam);

}  // namespace quenlo::skin
