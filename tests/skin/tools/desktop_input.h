// A person's hands and eyes for the demo drivers: the mouse moved and clicked through
// the system's input queue (so hover and leave tracking fire as for real), and the
// screen photographed as the display shows it.
#pragma once

#include <windows.h>

#include <string>

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

// A visible top-level window of the given class (and title, when not null) that
// belongs to the process.
HWND FindProcessWindow(DWORD processId, const char* className, const wchar_t* title = nullptr);

POINT CentreOf(HWND window);
void MoveMouse(POINT to);
void PressMouse();
void ReleaseMouse();
void ClickMouse();

// Saves the screen under the union of the windows' rectangles, with a margin, as a
// PNG, and says so on stdout.
bool Photograph(const std::string& path, HWND first, HWND second = nullptr);

}  // namespace quenlo::skin
