// Times the skin on the real main window.
//
// Usage:
//   quenlo_skin_bench cost
//       prints: median µs of ApplySkin + RemoveSkin on the whole window (cycles),
//               median µs of one fade tick of the 105 x 25 start button (ticks)
//   quenlo_skin_bench run INPUT RESULTS_FOLDER skinned|unskinned
//       one whole run through the window (Text4 set, Command2 clicked, completion box
//       answered); prints seconds, longest and 99th-percentile gap in ms between
//       the ticks of a 10 ms timer of the window's thread, and the gap of the click. The start
//       click re-skins the window, so the unskinned run takes the skin off again at its first pump,
//       a few milliseconds in.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "conversion/output_naming.h"
#include "main_window/main_window.h"
#include "skin/registry/fade_timer.h"
#include "skin/engine/skin_attachment.h"
#include "skin/images/skin_images.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kUnskinMessage = WM_APP + 2;
std::vector<Clock::time_point> g_handled;
HWND g_mainWindow = nullptr;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        g_handled.push_back(Clock::now());
        return 0;
    }
    if (message == kUnskinMessage) {
        quenlo::skin::RemoveSkin(g_mainWindow);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateProbe() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuenloSkinBenchProbe";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "QuenloSkinBenchProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

double MedianMicroseconds(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

template <typename Work>
std::vector<double> Time(int times, Work work) {
    std::vector<double> samples;
    for (int i = 0; i < times; ++i) {
        const auto start = Clock::now();
        work();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return samples;
}

int MeasureCost() {
    constexpr int kCycles = 300;
    constexpr int kTicks = 20000;
    const HWND window = quenlo::MainWindow::Create({}, SW_SHOWNORMAL);
    Pump();
    quenlo::skin::RemoveSkin(window);
    const auto cycles = Time(kCycles, [&] {
        quenlo::skin::ApplySkin(window);
        quenlo::skin::RemoveSkin(window);
    });
    // The part of a cycle that rebuilds the five images (the window's release frees them).
    const auto images = Time(kCycles, [] {
        quenlo::skin::BuildSkinImages();
        quenlo::skin::DeleteSkinImages();
    });
    quenlo::skin::ApplySkin(window);
    Pump();
    const HWND start = quenlo::MainWindow::FromWindow(window)->Control(quenlo::ControlId::Command2);
    RECT box{};
    GetWindowRect(start, &box);
    // Every tick blends the current state bitmap over the button at the next level.
    const auto ticks =
        Time(kTicks, [&] { SendMessageA(start, WM_TIMER, quenlo::skin::kFadeTimerId, 0); });
    std::printf(
        "apply+remove %.1f us (median of %d; image build+delete %.1f us), fade tick %.1f us "
        "(median of %d, %ld x %ld)\n",
        MedianMicroseconds(cycles), kCycles, MedianMicroseconds(images), MedianMicroseconds(ticks),
        kTicks, box.right - box.left, box.bottom - box.top);
    DestroyWindow(window);
    return 0;
}

int MeasureRun(const std::string& input, const char* results, bool skinned) {
    bool finished = false;
    Clock::time_point finishedAt;
    quenlo::WindowServices services;
    services.resultsFolder = quenlo::PathFromUtf8(results);
    services.messageBox = [&](HWND, std::string_view, std::string_view, UINT) {
        finishedAt = Clock::now();
        finished = true;
        return IDOK;
    };
    const HWND window = quenlo::MainWindow::Create(services, SW_SHOWNORMAL);
    g_mainWindow = window;
    auto& main = *quenlo::MainWindow::FromWindow(window);
    main.SetText(quenlo::ControlId::Text4, input);
    main.SetText(quenlo::ControlId::Text7, "30000");
    Pump();

    const HWND probe = CreateProbe();
    if (!skinned) {
        PostMessageA(probe, kUnskinMessage, 0, 0);
    }
    // A timer of this thread at the shortest interval (10 ms): the gaps between its
    // handlings bound the pump gaps from above. (Messages posted from another thread
    // can wait tens of ms under Wine before PeekMessage sees them.)
    SetTimer(probe, 1, USER_TIMER_MINIMUM, nullptr);
    const HWND start = main.Control(quenlo::ControlId::Command2);
    const auto startedAt = Clock::now();
    g_handled.push_back(startedAt);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
    KillTimer(probe, 1);
    if (!finished) {
        std::fprintf(stderr, "the run did not finish\n");
        return 1;
    }
    g_handled.push_back(finishedAt);
    if (g_handled.size() < 3) {
        std::fprintf(stderr, "too few timer ticks\n");
        return 1;
    }
    // The first gap is the click itself: the re-skin around the caption, then the
    // first stretch of work. It is reported apart from the gaps of the run.
    const double startGap =
        std::chrono::duration<double, std::milli>(g_handled[1] - g_handled[0]).count();
    std::vector<double> gaps;
    for (std::size_t i = 2; i < g_handled.size(); ++i) {
        if (g_handled[i] <= finishedAt) {
            gaps.push_back(
                std::chrono::duration<double, std::milli>(g_handled[i] - g_handled[i - 1]).count());
        }
    }
    std::sort(gaps.begin(), gaps.end());
    const double seconds = std::chrono::duration<double>(finishedAt - startedAt).count();
    std::printf("%.3f %.1f %.1f %.1f\n", seconds, gaps.back(), gaps[gaps.size() * 99 / 100],
                startGap);
    DestroyWindow(window);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc >= 2 && std::strcmp(__argv[1], "cost") == 0) {
        return MeasureCost();
    }
    if (__argc >= 5 && std::strcmp(__argv[1], "run") == 0) {
        return MeasureRun(__argv[2], __argv[3], std::strcmp(__argv[4], "skinned") == 0);
    }
    std::fprintf(stderr, "usage: quenlo_skin_bench cost | run INPUT RESULTS skinned|unskinned\n");
    return 2;
}
