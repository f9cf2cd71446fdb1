// The four state bitmaps of a skinned command button and its rounded outline. The
// bitmaps live in the button's HDC0..HDC3 / BMP0..BMP3 properties until detach.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// Makes the four state surfaces at the button's size and renders them.
void CreateButtonStateBitmaps(HWND hWnd);
// Gives the four surfaces new bitmaps at the button's new size and renders them.
void ResizeButtonStateBitmaps(HWND hWnd);
void DeleteButtonStateBitmaps(HWND hWnd);
// Rounded corners of 3 x 3, one pixel beyond the rectangle on the right and bottom.
void GiveButtonRoundedRegion(HWND hWnd);

}  // namespace quenlo::skin
