#include "cli/session_window.h"

#include <thread>
#include <utility>

namespace quenlo {
namespace {

struct SessionWatch {
    void (*stop)() = nullptr;
    HANDLE runEnded = nullptr;
    std::wstring reason;
    HANDLE windowMade = nullptr;  // set once the window exists, or could not be made
    bool made = false;
};

// Never destroyed: the window may still answer while the process exits.
SessionWatch& watch = *new SessionWatch;

// Only the window's own thread may set or take back its reason.
void ShowReason(HWND window, bool shown) {
    if (shown) {
        ShutdownBlockReasonCreate(window, watch.reason.c_str());
    } else {
        ShutdownBlockReasonDestroy(window);
    }
}

// A window nobody sees is ended about 5 seconds into WM_ENDSESSION, whatever it
// answered: the wait for the run ends before that. A run still going then has its
// files as the last pump left them: every counted line in them, the lines since
// only in memory, a long line being written possibly cut.
constexpr DWORD kRunEndWaitMs = 4000;

// The answers come from this thread while the main thread runs the job; with a reason
// given, the shutdown screen names it and the user decides.
LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_QUERYENDSESSION:
            // Answered at once, and the run goes on: another program may still cancel
            // the end.
            ShowReason(window, true);
            return TRUE;
        case WM_ENDSESSION:
            // wParam says whether the session ends; if it does, the process may be
            // ended as soon as this returns.
            if (wParam) {
                ShowReason(window, true);
                watch.stop();
                WaitForSingleObject(watch.runEnded, kRunEndWaitMs);
            }
            ShowReason(window, false);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RunSessionWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = SessionWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kSessionWindowClass;
    // Top-level and never shown: the system's end-of-session messages go to every
    // top-level window, hidden ones too.
    const HWND window =
        RegisterClassExA(&windowClass)
            ? CreateWindowExA(0, kSessionWindowClass, "quenlo-split", WS_OVERLAPPED, 0, 0, 0, 0,
                              nullptr, nullptr, windowClass.hInstance, nullptr)
            : nullptr;
    watch.made = window != nullptr;
    SetEvent(watch.windowMade);
    if (!window) {
        return;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
}

}  // namespace

bool WatchSessionEnd(void (*stop)(), HANDLE runEnded, std::wstring reason) {
    watch.stop = stop;
    watch.runEnded = runEnded;
    watch.reason = std::move(reason);
    watch.windowMade = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!watch.windowMade) {
        return false;
    }
    // Lives as long as the process: it must answer until the very end.
    std::thread(RunSessionWindow).detach();
    WaitForSingleObject(watch.windowMade, INFINITE);
    return watch.made;
}

}  // namespace quenlo
