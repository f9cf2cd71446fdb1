// A person's eyes for the demo drivers, which run beside the program they drive: its
// windows found and the screen photographed as the display shows it. Their hands are
// the queued input of live_input.h, which goes through the system's input queue, so
// hover and leave tracking fire as for real.
#pragma once

#include <windows.h>

#include <string>

#include "live_input.h"

namespace quenlo::skin {

// Polls every 50 ms until found() gives a window, or the time is up (null).
template <typename Find>
HWND WaitForWindow(Find found, DWORD timeoutMs) {
    const ULONGLONG until = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < until) {
        if (HWND window = found()) {
            return window;
        }
        Sleep(50);
    }
    return nullptr;
}

// Starts a program with no arguments and waits until it is ready for input; says why
// on stderr when it cannot be started.
bool StartProgram(const std::string& exe, PROCESS_INFORMATION& process);

// Closes the program's window and waits for the program to end: its exit code, or -1
// (and it is terminated) when it did not end.
int EndProgram(HWND window, PROCESS_INFORMATION& process);

// A visible top-level window of the given class (and title, when not null) that
// belongs to the process.
HWND FindProcessWindow(DWORD processId, const char* className, const wchar_t* title = nullptr);

// Saves the screen under the union of the windows' rectangles, with a margin, as a
// PNG, and says so on stdout.
bool Photograph(const std::string& path, HWND first, HWND second = nullptr);

}  // namespace quenlo::skin
