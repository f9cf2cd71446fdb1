// Hot and pressed items of a skinned header: HMINDEX follows the mouse while no
// button is down, HDINDEX holds the item the left button went down on.
#pragma once

#include <windows.h>

namespace quenlo::skin {

void HeaderMouseMove(HWND hWnd, int x, bool leftButtonDown);
void HeaderMouseLeave(HWND hWnd);
void HeaderButtonDown(HWND hWnd, int x);
void HeaderButtonUp(HWND hWnd);

}  // namespace quenlo::skin
