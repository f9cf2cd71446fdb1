// A command button's interaction states and the fade between its state bitmaps.
// Every step here ends in PaintButton or a running fade timer; none renders text.
#pragma once

#include <windows.h>

namespace quenlo::skin {

inline constexpr int kFadeStep = 3;
inline constexpr int kFadeFromRelease = 60;     // opacity a fade starts at after a click
inline constexpr int kLeaveOverlayLevel = 140;  // the hover picture laid over once on leave
inline constexpr int kOpaque = 255;

// The mouse moved over the button: a first move starts the hover fade, a move while
// the cursor is over another window (a drag off the button) shows the state at once.
void ButtonMouseMove(HWND hWnd);
void ButtonMouseLeave(HWND hWnd);
// Left button or space down: the pressed picture at once.
void ButtonPress(HWND hWnd);
// Left button or space up: back to normal, fading in from fromLevel.
void ButtonRelease(HWND hWnd, int fromLevel);
// The state bitmaps are rendered anew (focus rectangle on or off) and fade in.
void ButtonFocusChanged(HWND hWnd);
void ButtonEnabled(HWND hWnd, bool enabled);
// One timer tick: blend at the current level, then raise it; past opaque the fade ends.
void ButtonFadeStep(HWND hWnd);

}  // namespace quenlo::skin
