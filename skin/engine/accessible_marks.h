// What a screen reader hears of a check box or an option button the skin draws.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// WM_GETOBJECT: a skinned check box or option button (a look-alike class or a
// "Button" of that type) answers for its client area as a check button or a radio
// button, checked (or mixed) as the button holds it: the system's object may not know
// a look-alike for a button at all. Anything else is passed on. The contract is that
// of the input handlers.
LRESULT OnGetObject(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace quenlo::skin
