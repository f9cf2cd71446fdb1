// Run as administrator, the window sits above Explorer and the system drops what
// Explorer sends it: the taskbar button's arrival and the messages of a drop.
#pragma once

#include <windows.h>

#include "main_window/window_services.h"

namespace quenlo {

// Lets those messages through to the window from a process of lower integrity.
void AcceptExplorersMessages(HWND window, const WindowServices::MessageFilterCall& change);

}  // namespace quenlo
