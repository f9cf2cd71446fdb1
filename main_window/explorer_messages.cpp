#include "main_window/explorer_messages.h"

#include "main_window/taskbar_button.h"

namespace quenlo {

void AcceptExplorersMessages(HWND window, const WindowServices::MessageFilterCall& change) {
    // WM_COPYGLOBALDATA carries a drop's data across; it has no name in the headers.
    constexpr UINT kCopyGlobalData = 0x0049;
    // A failure leaves the window as it was: a process of low integrity may not change
    // its filter, and one that is not elevated needs no change. These three only: what
    // is let through reaches the window from any process, and it handles no other
    // (no WM_COPYDATA).
    for (const UINT message :
         {TaskbarButtonCreatedMessage(), UINT{WM_DROPFILES}, kCopyGlobalData}) {
        change(window, message, MSGFLT_ALLOW, nullptr);
    }
}

}  // namespace quenlo
