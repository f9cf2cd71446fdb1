// The run's life in the window: its start and stop from the button, the message pump
// it runs while it works, what the taskbar shows of it, and its end.
#include <windows.h>

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "conversion/run_conversion.h"
#include "conversion/texts.h"
#include "main_window/main_window.h"
#include "main_window/window_skin.h"

namespace quenlo {
namespace {

constexpr wchar_t kShutdownReason[] = L"正在保存拆分结果…";

}  // namespace

void MainWindow::StartRun() {
    // Re-skinned around the caption change so the button shows it.
    RemoveWindowSkin(window_);
    SetText(ControlId::Command2, kStopCaption);
    ApplySkinUnlessHighContrast();
    SetText(ControlId::Label7, std::string(kTotalPrefix).append("0"));
    SetText(ControlId::Label6, std::string("0").append(kSecondsSuffix));
    bStopRequested = false;
    Run();
}

void MainWindow::StopRun() {
    // The seconds stop with the run, at the click, so 已用时 keeps the time it took;
    // re-skinned around the caption change, as for the start.
    bStopRequested = true;
    SetTimer1Enabled(false);
    RemoveWindowSkin(window_);
    SetText(ControlId::Command2, kStartCaption);
    ApplySkinUnlessHighContrast();
}

void MainWindow::PumpMessages() {
    // Timer and paint messages are made afresh whenever the queue is empty and they
    // are due: a handler slower than its timer would keep this loop going for ever.
    // Past the budget the rest waits for the next pump, a few milliseconds later.
    constexpr ULONGLONG kPumpBudgetMs = 100;
    const ULONGLONG start = GetTickCount64();
    MSG message;
    while (GetTickCount64() - start < kPumpBudgetMs &&
           PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The program is ending: finish the run first, then let the loop see it.
            quitAfterRun_ = static_cast<int>(message.wParam);
            bStopRequested = true;
            return;
        }
        Dispatch(window_, message);
    }
}

void MainWindow::Dispatch(HWND window, MSG& message) {
    if (!IsDialogMessageA(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void MainWindow::Run() {
    running_ = true;
    progressShown_ = 0;
    try {
        RunConversion(host_, services_.runOptions);
    } catch (const std::exception& error) {
        // Nothing may unwind through the window procedure; say what happened instead.
        SetTimer1Enabled(false);
        SetText(ControlId::Command2, kStartCaption);
        ShowRunEnd(true);
        ShowBox(std::string("处理中断：") + error.what(), "Quenlo", MB_OK | MB_ICONERROR);
    }
    services_.taskbar->Clear(window_);  // ended, stopped or failed: no run to show
    running_ = false;
    ShowShutdownReason(false);
    if (quitAfterRun_) {
        PostQuitMessage(*std::exchange(quitAfterRun_, std::nullopt));
    }
    if (std::exchange(closeAfterRun_, false)) {
        PostMessageA(window_, WM_CLOSE, 0, 0);
    }
}

void MainWindow::ShowRunProgress(std::uint64_t done, std::uint64_t total) {
    done = std::min(done, total);  // a file that grew while it was read
    if (total == 0 || done <= progressShown_) {
        return;
    }
    progressShown_ = done;
    services_.taskbar->ShowProgress(window_, done, total);
}

void MainWindow::ShowRunEnd(bool failed) {
    if (failed) {
        services_.taskbar->ShowError(window_);
    } else {
        services_.taskbar->Clear(window_);
    }
    // Someone working in another window hears of the end from the taskbar.
    const HWND front = GetForegroundWindow();
    if (front != window_ && GetWindow(front, GW_OWNER) != window_) {
        services_.taskbar->Flash(window_);
    }
}

// The question only asks: another program may still cancel the end (one with an
// unsaved document), so the run goes on, and Windows wants the answer at once. The
// reason tells the shutdown screen why Quenlo holds the end up meanwhile.
void MainWindow::OnQueryEndSession() {
    if (running_) {
        ShowShutdownReason(true);
    }
}

// wParam says whether the session ends. If it does, the process may be ended at any
// moment once this returns, wherever the run is: it is below on this stack, in its
// pump or waiting for a read, so its files are closed from here. If the end was
// cancelled, the reason goes and the run goes on.
void MainWindow::OnEndSession(bool ending) {
    if (ending && running_) {
        ShowShutdownReason(true);
        if (!bStopRequested) {
            StopRun();
        }
        host_.CloseRunOutputNow();
    }
    ShowShutdownReason(false);
}

void MainWindow::ShowShutdownReason(bool shown) {
    if (shown != shutdownReasonShown_) {
        services_.shutdownReason(window_, shown ? kShutdownReason : nullptr);
        shutdownReasonShown_ = shown;
    }
}

}  // namespace quenlo
