// Runs one whole conversion through the real main window: sets Text4 and Text7,
// clicks Command2 and waits for the completion box. Meanwhile a timer of this thread
// runs at the system's shortest interval (10 ms); the gaps between its handlings
// bound from above how long the window went without processing its messages.
// (Messages posted from another thread are no measure under Wine: they can wait
// some 50 ms to become visible to PeekMessage even when it runs every few ms.)
//
// Usage: quenlo_window_bench INPUT RESULTS_FOLDER [LINES_PER_FILE]
// Always skinned: the click re-applies the skin. Prints: seconds of the run, longest and
// 99th-percentile gap between ticks in ms, gaps counted, then the ms from the click
// to the first tick and from the last tick to the completion box.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "conversion/output_naming.h"
#include "main_window/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<Clock::time_point> g_handled;
bool g_measuring = false;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (g_measuring) {
            g_handled.push_back(Clock::now());
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
        std::fprintf(stderr, "usage: quenlo_window_bench INPUT RESULTS_FOLDER [LINES]\n");
        return 2;
    }
    const std::string input = __argv[1];
    const std::string linesPerFile = __argc > 3 ? __argv[3] : "30000";

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
    auto& main = *quenlo::MainWindow::FromWindow(window);
    main.SetText(quenlo::ControlId::Text4, input);
    main.SetText(quenlo::ControlId::Text7, linesPerFile);

    const HWND probe = CreateProbe();
    SetTimer(probe, 1, USER_TIMER_MINIMUM, nullptr);

    const HWND start = main.Control(quenlo::ControlId::Command2);
    const auto startedAt = Clock::now();
    g_handled.push_back(startedAt);
    g_measuring = true;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
    g_measuring = false;

    if (!finished) {
        std::fprintf(stderr, "the run did not finish\n");
        return 1;
    }
    // Between ticks: the pumps of the run. Before the first and after the last: the
    // run's start (folder, input, first block) and end (last flush, closing files).
    const auto ms = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count();
    };
    std::vector<double> gaps;
    for (std::size_t i = 2; i < g_handled.size(); ++i) {
        gaps.push_back(ms(g_handled[i - 1], g_handled[i]));
    }
    std::sort(gaps.begin(), gaps.end());
    const double seconds = std::chrono::duration<double>(finishedAt - startedAt).count();
    const double longest = gaps.empty() ? 0 : gaps.back();
    const double p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    const double first = g_handled.size() > 1 ? ms(startedAt, g_handled[1]) : 0;
    const double last = ms(g_handled.back(), finishedAt);
    std::printf("%.3f %.1f %.1f %zu %.1f %.1f\n", seconds, longest, p99, gaps.size(), first, last);
    DestroyWindow(window);
    return 0;
}
