// One-pixel frames that replace the system's 3D borders of skinned windows.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// The border colour of an enabled or a disabled control.
COLORREF BorderColourOf(HWND hWnd);

// Outer ring in the border colour and the next ring white, drawn into the window DC
// (list windows, drop-down lists, the drop-down-list combo box).
void DrawFlatDoubleFrame(HWND hWnd);
// Only the outer ring in the border colour (grids with a border).
void DrawFlatOuterFrame(HWND hWnd);
// Replaces a client edge: the outer ring in the border colour, the rings inside it
// within the border width in the client area's background colour.
void DrawFlatClientEdge(HWND hWnd);

}  // namespace quenlo::skin
