// A person's hand for the engine tests: the cursor and the keys are driven through
// SetCursorPos and SendInput, so the system itself decides which window a move, a
// click or a key reaches, and when the mouse has left a window.
#pragma once

#include <windows.h>

#include <functional>

namespace quenlo::skin {

// A client point of a window, and the middle of its window rectangle, on screen.
POINT ScreenPoint(HWND window, int x, int y);
POINT CentreOf(HWND window);

// Moves the cursor there as a mouse would: the window under it gets WM_MOUSEMOVE.
void MoveMouseTo(POINT screen);
void PressLeft();
void ReleaseLeft();
void ClickAt(POINT screen);
// Releases the left button and dispatches only the WM_LBUTTONUP it causes, so the
// mouse move the system reports once the button lets go of the mouse waits in the queue.
void ReleaseLeftOnly();
void PressKey(WORD virtualKey);
void ReleaseKey(WORD virtualKey);

// The same input, only handed to the system: for code that runs inside a modal loop,
// which delivers it itself.
void QueueMouseMove(POINT screen);
void QueueMouseButton(bool down);
void QueueClick();
void QueueKey(WORD virtualKey, bool down);

// Makes a top-level window the active one, so keys and clicks go where a person's would.
void BringToFront(HWND topLevel);

// Processes this thread's messages except WM_TIMER: no fade step runs unless a test
// sends it, so what a handler painted stays on screen to be read.
void PumpWithoutTimers();

// Pumps until the condition holds, or gives up after a limit far beyond what the
// system needs; the result says which. With timers, fade ticks run as they come.
bool PumpUntil(const std::function<bool()>& condition, bool withTimers = false);

// Gives the system a moment to deliver what the last input caused (no timers run).
void Settle();

}  // namespace quenlo::skin
