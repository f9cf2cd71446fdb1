// Progress bars drawn flat: a light border, white ground and a bar of the fill colour.
// The scale is fixed at 30000, whatever range the control was given.
#pragma once

#include <windows.h>

namespace quenlo::skin {

inline constexpr float kProgressFullScale = 30000.0f;

// The client area, composed off screen and copied between BeginPaint and EndPaint.
void PaintProgressBarClient(HWND hWnd);
// The whole window: border, white, and the bar inside the client rectangle.
void PaintProgressBarWindow(HWND hWnd);

}  // namespace quenlo::skin
