// The drop-down button of a combo box: white at rest, a light strip under the mouse,
// a darker one while pressed or while the list is open, always with its arrow.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// Draws the button for state (0 normal, 1 hover, 2 pressed) into dc, or into the
// window DC when dc is 0, and remembers it in OLDSTATE. An open list means state 2,
// and state is set to 2 for the caller too. Skipped when the state is the one already
// drawn and force is false. A simple combo box (no button) is never drawn and keeps
// its OLDSTATE.
void PaintComboBox(HWND window, HDC dc, int& state, bool force);

}  // namespace quenlo::skin
