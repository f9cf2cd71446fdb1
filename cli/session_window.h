// quenlo-split hears Windows end the session (sign-out, shutdown, restart) through a
// hidden top-level window. A console program that loads user32 (it does, through
// shell32) is never told through its console handler, and a message-only window
// hears no broadcast.
#pragma once

#include <windows.h>

#include <string>

namespace quenlo {

// The window's class, by which it can be found.
inline constexpr char kSessionWindowClass[] = "QuenloSplitSession";

// Starts the window on a thread of its own, for the rest of the process. When the
// session ends (not at the question before, which another program may still answer
// no), stop() is called; the window then answers once runEnded is set (the run has
// returned and its files are closed) or 4 seconds have passed, with reason on the
// shutdown screen meanwhile. False when no window could be made.
bool WatchSessionEnd(void (*stop)(), HANDLE runEnded, std::wstring reason);

}  // namespace quenlo
