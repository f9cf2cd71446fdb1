// Runs one whole conversion through the real main window: sets Text4 and Text7,
// clicks Command2 and waits for the completion box. Meanwhile a second thread posts
// a message to this thread every millisecond, stamped with its posting time; how long
// each waited before it was handled shows how long the window went without its
// messages being processed. (Waits rather than gaps between handlings: a poster that
// the scheduler holds back would otherwise look like a pump that never came.)
//
// Usage: quenlo_window_bench INPUT RESULTS_FOLDER [LINES_PER_FILE]
// Prints: seconds of the run, longest and 99th-percentile wait in ms, messages handled.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "conversion/output_naming.h"
#include "main_window/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kTickMessage = WM_APP + 1;
std::vector<double> g_waits;  // ms
bool g_measuring = false;

WPARAM Stamp() {
    return static_cast<WPARAM>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
            .count());
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTickMessage) {
        if (g_measuring) {
            g_waits.push_back(static_cast<double>(Stamp() - wParam) / 1000.0);
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
    std::atomic<bool> posting{true};
    std::thread poster([&] {
        while (posting) {
            PostMessageA(probe, kTickMessage, Stamp(), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    const HWND start = main.Control(quenlo::ControlId::Command2);
    const auto startedAt = Clock::now();
    g_measuring = true;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
    posting = false;
    poster.join();

    if (!finished) {
        std::fprintf(stderr, "the run did not finish\n");
        return 1;
    }
    g_measuring = false;
    std::vector<double>& waits = g_waits;
    std::sort(waits.begin(), waits.end());
    const double seconds = std::chrono::duration<double>(finishedAt - startedAt).count();
    const double longest = waits.empty() ? 0 : waits.back();
    const double p99 = waits.empty() ? 0 : waits[waits.size() * 99 / 100];
    std::printf("%.3f %.1f %.1f %zu\n", seconds, longest, p99, waits.size());
    DestroyWindow(window);
    return 0;
}
