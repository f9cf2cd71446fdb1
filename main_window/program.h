// Quenlo from start to end: the window, the message loop until the window has gone,
// and the one message shown when the window cannot be made.
#pragma once

#include <windows.h>

#include "main_window/window_services.h"

namespace quenlo {

// Returns the program's exit status: the quit code, or 1 when the window could not
// be created (after saying so in a message box, with the system's reason).
int RunQuenlo(WindowServices services, int showCommand);

}  // namespace quenlo
