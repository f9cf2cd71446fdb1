// Runs one conversion through the real main window: sets Text4 and Text7, clicks
// Command2 and waits for the completion box, or has the mouse click Command2 again
// after a while to stop the run. Meanwhile a timer of this thread runs at the system's
// shortest interval (10 ms); the gaps between its handlings bound from above how long
// the window went without processing its messages. At every tick Label6 is compared
// with the wall clock, and after the stop click Command2's caption is watched.
// (Messages posted from another thread are no measure under Wine: they can wait
// some 50 ms to become visible to PeekMessage even when it runs every few ms.)
//
// Usage: quenlo_window_bench INPUT RESULTS_FOLDER [LINES_PER_FILE [STOP_AFTER_MS]]
// Always skinned: the click re-applies the skin. Prints: seconds of the run, longest and
// 99th-percentile gap between ticks in ms, gaps counted, the ms from the click to the
// first tick and from the last tick to the end, the most whole seconds Label6 was
// behind the wall clock, the ms from the stop click to Command2 reading "开始处理" and
// to the click's button-up being taken from the queue (0 without a stop), and the
// total Label7 shows at the end.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "conversion/leading_number.h"
#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "main_window/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Measurement {
    quenlo::MainWindow* window = nullptr;
    bool measuring = false;
    Clock::time_point clickedAt;
    std::vector<Clock::time_point> ticks;
    long long label6Lag = 0;
    std::optional<Clock::duration> stopAfter;
    Clock::time_point stopClickedAt;  // written by the clicking thread before the click
    std::atomic<bool> stopClicked{false};
    std::optional<Clock::time_point> mouseUpTaken;  // the click's WM_LBUTTONUP dequeued
    std::optional<Clock::time_point> stoppedAt;     // Command2 seen reading "开始处理"
};
Measurement g;

double Ms(Clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

// The mouse rests on the button, as after the start click.
void MoveMouseOnto(HWND control) {
    RECT box{};
    GetWindowRect(control, &box);
    const POINT to{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    SetCursorPos(to.x, to.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(to.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = MulDiv(to.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

// A person's click arrives whenever it comes, not when the window is ready for it:
// another thread presses the mouse button at the set time.
void ClickLater(Clock::time_point at) {
    std::this_thread::sleep_until(at);
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    g.stopClickedAt = Clock::now();
    g.stopClicked = true;
    SendInput(2, inputs, sizeof(INPUT));
}

void OnTick() {
    const Clock::time_point now = Clock::now();
    g.ticks.push_back(now);
    const auto wholeSeconds = static_cast<long long>(
        std::chrono::duration_cast<std::chrono::seconds>(now - g.clickedAt).count());
    const auto shown = static_cast<long long>(
        quenlo::LeadingNumber(g.window->Text(quenlo::ControlId::Label6)));
    g.label6Lag = std::max(g.label6Lag, wholeSeconds - shown);
    if (g.stopClicked && !g.stoppedAt &&
        g.window->Text(quenlo::ControlId::Command2) == quenlo::kStartCaption) {
        g.stoppedAt = now;
    }
}

// Sees every message this thread takes from its queue: when the click's button-up
// arrives, the wait for a pump is over and the stop action begins.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_LBUTTONUP &&
        g.stopClicked && !g.mouseUpTaken) {
        g.mouseUpTaken = Clock::now();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (g.measuring) {
            OnTick();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateProbe() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuenloBenchProbe";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "QuenloBenchProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) {
        std::fprintf(stderr,
                     "usage: quenlo_window_bench INPUT RESULTS_FOLDER [LINES [STOP_AFTER_MS]]\n");
        return 2;
    }
    const std::string input = __argv[1];
    const std::string linesPerFile = __argc > 3 ? __argv[3] : "30000";
    if (__argc > 4) {
        g.stopAfter = std::chrono::milliseconds(std::atoi(__argv[4]));
    }

    bool finished = false;
    Clock::time_point finishedAt;
    quenlo::WindowServices services;
    services.resultsFolder = quenlo::PathFromUtf8(__argv[2]);
    services.messageBox = [&](HWND, std::string_view, std::string_view, UINT) {
        finishedAt = Clock::now();
        finished = true;
        return IDOK;
    };
    const HWND window = quenlo::MainWindow::Create(services, SW_SHOWNORMAL);
    g.window = quenlo::MainWindow::FromWindow(window);
    g.window->SetText(quenlo::ControlId::Text4, input);
    g.window->SetText(quenlo::ControlId::Text7, linesPerFile);

    const HWND probe = CreateProbe();
    SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    SetTimer(probe, 1, USER_TIMER_MINIMUM, nullptr);

    const HWND start = g.window->Control(quenlo::ControlId::Command2);
    SetForegroundWindow(window);
    MoveMouseOnto(start);
    g.clickedAt = Clock::now();
    std::thread clicker;
    if (g.stopAfter) {
        clicker = std::thread(ClickLater, g.clickedAt + *g.stopAfter);
    }
    g.ticks.push_back(g.clickedAt);
    g.measuring = true;
    SendMessageA(GetParent(start), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
    g.measuring = false;
    const Clock::time_point returnedAt = Clock::now();
    if (clicker.joinable()) {
        clicker.join();
    }

    if (g.stopAfter) {
        if (!g.stopClicked || finished) {
            std::fprintf(stderr, "the run ended before the stop click\n");
            return 1;
        }
        if (!g.stoppedAt && g.window->Text(quenlo::ControlId::Command2) == quenlo::kStartCaption) {
            g.stoppedAt = returnedAt;
        }
        finishedAt = returnedAt;
    } else if (!finished) {
        std::fprintf(stderr, "the run did not finish\n");
        return 1;
    }
    // Between ticks: the pumps of the run. Before the first and after the last: the
    // run's start (folder, input, first block) and end (last flush, closing files).
    // With a stop: the ticks before the click, so that the stop action's own cost (it
    // re-skins the window) stays out of the run's cadence.
    std::vector<double> gaps;
    for (std::size_t i = 2; i < g.ticks.size(); ++i) {
        if (g.stopAfter && g.ticks[i] > g.stopClickedAt) {
            break;
        }
        gaps.push_back(Ms(g.ticks[i] - g.ticks[i - 1]));
    }
    std::sort(gaps.begin(), gaps.end());
    const double seconds = std::chrono::duration<double>(finishedAt - g.clickedAt).count();
    const double longest = gaps.empty() ? 0 : gaps.back();
    const double p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    const double first = g.ticks.size() > 1 ? Ms(g.ticks[1] - g.clickedAt) : 0;
    const double last = Ms(finishedAt - g.ticks.back());
    const double stopLatency = g.stoppedAt ? Ms(*g.stoppedAt - g.stopClickedAt) : 0;
    const double clickTaken = g.mouseUpTaken ? Ms(*g.mouseUpTaken - g.stopClickedAt) : 0;
    std::string total = g.window->Text(quenlo::ControlId::Label7);
    total.erase(0, quenlo::kTotalPrefix.size());
    std::printf("%.3f %.1f %.1f %zu %.1f %.1f %lld %.1f %.1f %s\n", seconds, longest, p99,
                gaps.size(), first, last, g.label6Lag, stopLatency, clickTaken, total.c_str());
    DestroyWindow(window);
    return 0;
}
