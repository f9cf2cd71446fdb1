#include "live_input.h"

namespace quenlo::skin {
namespace {

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void SendKey(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

bool PumpRange(UINT first, UINT last) {
    MSG message;
    bool any = false;
    while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        any = true;
    }
    return any;
}

}  // namespace

POINT ScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

POINT CentreOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

void MoveMouseTo(POINT screen) {
    QueueMouseMove(screen);
    Settle();
}

void PressLeft() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Settle();
}

void ReleaseLeft() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    Settle();
}

void ReleaseLeftOnly() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    MSG message;
    for (int wait = 0; wait < 3000; ++wait) {
        if (PeekMessageA(&message, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
            DispatchMessageA(&message);
            return;
        }
        Sleep(1);
    }
}

void ClickAt(POINT screen) {
    MoveMouseTo(screen);
    PressLeft();
    ReleaseLeft();
}

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, 0);
    Settle();
}

void ReleaseKey(WORD virtualKey) {
    SendKey(virtualKey, KEYEVENTF_KEYUP);
    Settle();
}

void QueueMouseMove(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    // A relative move of nothing: the system reports a mouse move at the new place,
    // as a real mouse does, whether or not the warp itself produced one.
    SendMouse(MOUSEEVENTF_MOVE);
}

void QueueMouseButton(bool down) {
    SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void QueueClick() {
    QueueMouseButton(true);
    QueueMouseButton(false);
}

void QueueKey(WORD virtualKey, bool down) {
    SendKey(virtualKey, down ? 0 : KEYEVENTF_KEYUP);
}

void BringToFront(HWND topLevel) {
    SetForegroundWindow(topLevel);
    SetActiveWindow(topLevel);
    Settle();
}

void PumpWithoutTimers() {
    while (PumpRange(0, WM_TIMER - 1) | PumpRange(WM_TIMER + 1, 0xFFFFFFFF)) {
    }
}

bool PumpUntil(const std::function<bool()>& condition, bool withTimers) {
    // Generous: the system delivers within milliseconds, but a fade of 15 ms ticks on a
    // machine busy with other work can take seconds; this only bounds a failure.
    constexpr int kLimitMs = 30000;
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > kLimitMs) {
            return false;
        }
        if (withTimers) {
            PumpRange(0, 0xFFFFFFFF);
        } else {
            PumpWithoutTimers();
        }
        Sleep(1);
    }
    return true;
}

void Settle() {
    // Input reaches the queue through the Wine server and the X server; a few short
    // rounds let it arrive and be dispatched.
    for (int round = 0; round < 4; ++round) {
        Sleep(5);
        PumpWithoutTimers();
    }
}

}  // namespace quenlo::skin
