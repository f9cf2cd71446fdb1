// A control's accessible object as the system makes it, with our own answers about the
// control itself where the system's would be wrong: a button the program draws itself
// cannot tell the system what kind of button it is, nor a text box who labels it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quenlo {

// Unset parts are answered by the system's object. The functions are asked each time
// a reader asks, so a caption or a check mark that changes is heard at once; they may
// be called after the window has gone (a reader can hold the object).
struct AccessibleAnswers {
    std::function<std::wstring()> name;
    long role = 0;                      // ROLE_SYSTEM_...; 0: the system's
    std::function<long()> addedState;   // STATE_SYSTEM_... flags on top of the system's
};

// The reply to a WM_GETOBJECT asking for the control's client area (OBJID_CLIENT);
// 0 when the system's object cannot be made, and the message should be passed on.
LRESULT AnswerClientObjectRequest(HWND control, WPARAM wParam, const AccessibleAnswers& answers);

}  // namespace quenlo
