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

#include "main_window/layout.h"
#include "png_writer.h"

namespace {

using quenlo::CommandIdOf;
using quenlo::ControlId;

// Polls until found() gives a window, or the time is up.
template <typename Find>
HWND WaitFor(Find found, DWORD timeoutMs) {
    const ULONGLONG until = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < until) {
        if (HWND window = found()) {
            return window;
        }
        Sleep(50);
    }
    return nullptr;
}

HWND FindQuenloWindow(DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "Form", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

HWND FindCompletionBox(DWORD processId) {
    HWND box = FindWindowW(L"#32770", L"提示");
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    return owner == processId ? box : nullptr;
}

HWND Child(HWND window, ControlId container, ControlId id) {
    HWND parent =
        container == ControlId::Window ? window : GetDlgItem(window, CommandIdOf(container));
    return GetDlgItem(parent, CommandIdOf(id));
}

// The screen under the union of the given windows' rectangles, with a margin, as the
// display shows it (the skin paints straight onto the screen, so this is what a person
// sees).
bool Photograph(const std::string& path, HWND first, HWND second = nullptr) {
    RECT area{};
    GetWindowRect(first, &area);
    if (second != nullptr) {
        RECT other{};
        GetWindowRect(second, &other);
        UnionRect(&area, &area, &other);
    }
    InflateRect(&area, 8, 8);
    area.left = std::max(area.left, 0L);
    area.top = std::max(area.top, 0L);
    HDC screen = GetDC(nullptr);
    const quenlo::skin::Picture picture = quenlo::skin::ReadPicture(
        screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    const bool written = quenlo::skin::WritePng(path, picture);
    std::printf("%s %s\n", written ? "saved" : "COULD NOT SAVE", path.c_str());
    return written;
}

POINT CentreOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

// Moves the mouse as the hardware would, so the window under it gets its mouse-move
// message (the hover starts from one).
void MoveMouse(POINT to) {
    SetCursorPos(to.x, to.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(to.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = MulDiv(to.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

void ClickMouse() {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
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

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    WaitForInputIdle(process.hProcess, 10000);
    const DWORD id = process.dwProcessId;
    const HWND window = WaitFor([&] { return FindQuenloWindow(id); }, 20000);
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
    MoveMouse({2, 2});
    Settle(1500);
    bool ok = Photograph(shots + "1-idle.png", window);

    // Mid-run: the mouse clicks the start button and stays on it. The click re-skins
    // the window (the new caption), which starts every button from its normal state,
    // so the hover begins with the next move. A large sample still runs for only a
    // second or two: the picture is taken as soon as the count moves and the hover
    // picture has mostly faded in.
    const POINT onStart = CentreOf(command2);
    MoveMouse(onStart);
    Settle(500);
    ClickMouse();
    const HWND label7 = Child(window, ControlId::iFrame5, ControlId::Label7);
    WaitFor(
        [&]() -> HWND {
            char caption[64]{};
            GetWindowTextA(label7, caption, sizeof(caption));
            const std::string_view text = caption;
            return !text.empty() && !text.ends_with("：0") ? label7 : nullptr;
        },
        5000);
    MoveMouse({onStart.x + 2, onStart.y + 1});
    Settle(500);
    const bool midRun = FindCompletionBox(id) == nullptr;
    ok = Photograph(shots + "2-running.png", window) && ok;
    if (!midRun) {
        std::printf("note: the run had already ended at the mid-run picture\n");
    }

    // Finished: the completion box, photographed with the window, then answered.
    const HWND box = WaitFor([&] { return FindCompletionBox(id); }, 600000);
    if (box == nullptr) {
        std::fprintf(stderr, "the completion box did not appear\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    MoveMouse({2, 2});
    Settle(1500);
    ok = Photograph(shots + "3-finished.png", window, box) && ok;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Settle(500);

    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "Quenlo did not end after its window was closed\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok && exitCode == 0 ? 0 : 1;
}
