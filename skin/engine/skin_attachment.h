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

// Whether the skin turned this skinned button into an owner-drawn one (push buttons
// only; a button that was owner-drawn before keeps its owner's drawing).
bool IsOwnerDrawnBySkin(HWND button);

BOOL CALLBACK SkinChildProc(HWND hWnd, LPARAM lParam);
BOOL CALLBACK UnskinChildProc(HWND hWnd, LPARAM lParam);

}  // namespace quenlo::skin
