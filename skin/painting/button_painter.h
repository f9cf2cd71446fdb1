// Command buttons: four ready-made pictures per button, one per state, and the
// constant-alpha blend that shows (or fades in) the current one.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// Renders the state bitmaps HDC0..HDC3 of a button: the face of its state, the
// caption in the button's font, and the focus rectangle if the button has the focus
// right now.
void DrawControlText(HWND window);

// Blends the state bitmap of OLDSTATE over the button at ALPHALEVEL. A disabled
// button is switched to state 3 first; a button that was no push button before the
// skin came (check box, radio, group box, owner-drawn style) is left alone. dc 0
// means the button's window DC. Always returns 0.
int PaintButton(HWND window, HDC dc);

}  // namespace quenlo::skin
