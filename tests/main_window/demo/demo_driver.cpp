// Drives the real Quenlo.exe through one whole conversion, as a person would, and
// photographs its window on the way: idle, mid-run with the mouse over the start
// button, and finished with the completion box up.
//
// Usage: quenlo_demo_driver QUENLO_EXE INPUT SHOTS_FOLDER
// Exit code 0 when the completion box was reached and the program ended normally.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "desktop_input.h"
#include "main_window/layout.h"
#include "screen_reader.h"

namespace {

using quenlo::CommandIdOf;
using quenlo::ControlId;
using namespace quenlo::skin;

HWND FindCompletionBox(DWORD processId) {
    return FindProcessWindow(processId, "#32770", L"提示");
}

HWND Child(HWND window, ControlId container, ControlId id) {
    HWND parent =
        container == ControlId::Window ? window : GetDlgItem(window, CommandIdOf(container));
    return GetDlgItem(parent, CommandIdOf(id));
}

// Lets the window's paints and the button fade (86 ticks of 15 ms) finish.
void Settle(DWORD ms) {
    Sleep(ms);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: quenlo_demo_driver QUENLO_EXE INPUT SHOTS_FOLDER\n");
        return 2;
    }
    const std::string exe = argv[1];
    const std::string input = argv[2];
    const std::string shots = std::string(argv[3]) + "\\";

    PROCESS_INFORMATION process{};
    if (!StartProgram(exe, process)) {
        return 1;
    }
    const DWORD id = process.dwProcessId;
    const HWND window = WaitForWindow([&] { return FindProcessWindow(id, "Form"); }, 20000);
    if (window == nullptr) {
        std::fprintf(stderr, "Quenlo's window did not appear\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    const HWND text4 = Child(window, ControlId::iFrame3, ControlId::Text4);
    const HWND command2 = Child(window, ControlId::Window, ControlId::Command2);
    SetForegroundWindow(window);

    // Idle: the path set as the import button would set it, the mouse elsewhere.
    SendMessageA(text4, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(input.c_str()));
    // Smaller files than the default 30000 lines: a thousand of them, and a run long
    // enough to be seen.
    const HWND text7 = Child(window, ControlId::Window, ControlId::Text7);
    SendMessageA(text7, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5000"));
    QueueMouseMove({2, 2});
    Settle(1500);
    bool ok = Photograph(shots + "1-idle.png", window);

    // A screen reader asks the start button what it is: Quenlo answers through oleacc.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string heard = AskReader(command2).name;
    if (heard != "开始处理") {
        std::fprintf(stderr, "a screen reader heard the start button as '%s'\n", heard.c_str());
        ok = false;
    }

    // Mid-run: the mouse clicks the start button and stays on it. The click re-skins
    // the window (the new caption), which starts every button from its normal state,
    // so the hover begins with the next move. A large sample still runs for only a
    // second or two: the picture is taken as soon as the count moves and the hover
    // picture has mostly faded in.
    const POINT onStart = CentreOf(command2);
    QueueMouseMove(onStart);
    Settle(500);
    QueueClick();
    const HWND label7 = Child(window, ControlId::iFrame5, ControlId::Label7);
    WaitForWindow(
        [&]() -> HWND {
            char caption[64]{};
            GetWindowTextA(label7, caption, sizeof(caption));
            const std::string_view text = caption;
            return !text.empty() && !text.ends_with("：0") ? label7 : nullptr;
        },
        5000);
    QueueMouseMove({onStart.x + 2, onStart.y + 1});
    Settle(500);
    const bool midRun = FindCompletionBox(id) == nullptr;
    ok = Photograph(shots + "2-running.png", window) && ok;
    if (!midRun) {
        std::printf("note: the run had already ended at the mid-run picture\n");
    }

    // Finished: the completion box, photographed with the window, then answered.
    const HWND box = WaitForWindow([&] { return FindCompletionBox(id); }, 600000);
    if (box == nullptr) {
        std::fprintf(stderr, "the completion box did not appear\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    QueueMouseMove({2, 2});
    Settle(1500);
    ok = Photograph(shots + "3-finished.png", window, box) && ok;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Settle(500);

    return EndProgram(window, process) == 0 && ok ? 0 : 1;
}
