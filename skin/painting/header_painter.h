// Header controls: every item drawn from HeaderImage in its state (pressed item
// HDINDEX, hot item HMINDEX), with its text centred.
#pragma once

#include <windows.h>

#include <string>

namespace quenlo::skin {

// An item's text: at most 255 characters.
std::string HeaderItemText(HWND header, int index);

// Redraws one item in state 1 hover, 2 pressed, any other normal, into dc or into
// the window DC when dc is 0. Index below 0: nothing. Always returns 0.
int PaintHeaderItem(HWND header, HDC dc, int index, int state);

// The whole header: background column, then every item with its frame and text,
// composed off screen and copied to dc in one piece.
void DrawWholeHeader(HWND header, HDC dc);

// The same between BeginPaint and EndPaint: the WM_PAINT painting of a header.
void PaintWholeHeader(HWND header);

}  // namespace quenlo::skin
