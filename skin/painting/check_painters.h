// Check boxes and option buttons: the system paints the caption, these paint the
// skinned box or circle over its own at the left edge, vertically centred.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// Both draw for state 0 normal, 1 hover, 2 pressed, and remember it in OLDSTATE. A
// call for the state already drawn is skipped (result 0) unless forced; a call that
// draws returns 1.
int PaintCheckBox(HWND window, int state, bool force);
int PaintOptionButton(HWND window, int state, bool force);

}  // namespace quenlo::skin
