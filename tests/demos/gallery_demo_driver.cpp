// Drives the real QuenloGallery.exe as a person would and photographs it: at rest,
// with the mouse over a button halfway through its fade, with a header item held
// down, an open drop-down list, after clicks on a check box and an option button,
// with the message box and with the open-file dialog (1-rest.png ... 7-open-file.png).
//
// Usage: gallery_demo_driver GALLERY_EXE SHOTS_FOLDER [--rest-only]
// Exit code 0 when every picture was saved and the gallery ended normally.
#include <windows.h>

#include <cstdio>
#include <string>

#include "demos/gallery/gallery_window.h"
#include "demos/gallery/look_alike_classes.h"
#include "desktop_input.h"

namespace {

using quenlo::gallery::GalleryControl;
using namespace quenlo::skin;

constexpr DWORD kFadeSettleMs = 1800;  // 86 ticks of 15 ms, and some to spare

// A dialog of the process other than the given one (the message box, the file dialog).
HWND FindDialog(DWORD processId, HWND except = nullptr) {
    HWND dialog = nullptr;
    while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(dialog, &owner);
        if (owner == processId && dialog != except && IsWindowVisible(dialog)) {
            return dialog;
        }
    }
    return nullptr;
}

// The box of a check box or option button, at its left edge.
POINT LeftOf(HWND control) {
    RECT box{};
    GetWindowRect(control, &box);
    return {box.left + 6, (box.top + box.bottom) / 2};
}

void SendKey(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void KeyDown(WORD key) {
    SendKey(key, 0);
}

void KeyUp(WORD key) {
    SendKey(key, KEYEVENTF_KEYUP);
}

void PressKey(WORD key) {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1].type = INPUT_KEYBOARD;
    inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

class Driver {
public:
    Driver(HWND gallery, DWORD processId, std::string shots)
        : gallery_(gallery), processId_(processId), shots_(std::move(shots)) {}

    HWND Control(GalleryControl id) const {
        return quenlo::gallery::GalleryControlWindow(gallery_, id);
    }

    bool Rest() {
        QueueMouseMove({2, 2});
        Sleep(kFadeSettleMs);
        return Photograph(shots_ + "1-rest.png", gallery_);
    }

    // The hover picture fading in over the normal one: about a third of the way.
    bool HoverMidFade() {
        QueueMouseMove(CentreOf(Control(GalleryControl::ButtonNormal)));
        Sleep(450);
        const auto level = reinterpret_cast<INT_PTR>(
            GetPropA(Control(GalleryControl::ButtonNormal), "ALPHALEVEL"));
        const bool saved = Photograph(shots_ + "2-hover-fade.png", gallery_);
        std::printf("  the hover fade was at opacity %d of 255\n", static_cast<int>(level));
        return saved;
    }

    // The second item of the VB header held down by the left button.
    bool HeaderPressed() {
        const HWND header = Control(GalleryControl::Header);
        RECT box{};
        GetWindowRect(header, &box);
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        // Items are 150, 110 and 128 pixels wide at 96 dpi: aim inside the second.
        QueueMouseMove({box.left + MulDiv(150 + 55, dpi, 96), (box.top + box.bottom) / 2});
        Sleep(300);
        QueueMouseButton(true);
        Sleep(400);
        const bool saved = Photograph(shots_ + "3-header-pressed.png", gallery_);
        QueueMouseButton(false);
        QueueMouseMove({2, 2});
        Sleep(300);
        return saved;
    }

    bool ComboOpen() {
        QueueMouseMove(CentreOf(Control(GalleryControl::ComboDropDownList)));
        Sleep(200);
        QueueClick();
        Sleep(600);
        const bool saved = Photograph(shots_ + "4-combo-open.png", gallery_);
        PressKey(VK_ESCAPE);
        QueueMouseMove({2, 2});
        Sleep(300);
        return saved;
    }

    // A check box and an option button clicked, then the mouse resting on a check
    // box (hover fill) while the space bar holds down the focused option (pressed).
    bool ClicksAndHover() {
        for (GalleryControl id : {GalleryControl::CheckUnchecked, GalleryControl::OptionThird}) {
            QueueMouseMove(LeftOf(Control(id)));
            Sleep(200);
            QueueClick();
            Sleep(300);
        }
        QueueMouseMove(LeftOf(Control(GalleryControl::CheckChecked)));
        Sleep(300);
        KeyDown(VK_SPACE);
        Sleep(300);
        const bool saved = Photograph(shots_ + "5-clicked.png", gallery_);
        KeyUp(VK_SPACE);
        QueueMouseMove({2, 2});
        Sleep(300);
        return saved;
    }

    // Clicks a button of the gallery that opens a modal dialog, photographs the
    // dialog with the window, and closes it with its own button.
    bool ModalDialog(GalleryControl opener, const char* shot, int closeId) {
        QueueMouseMove(CentreOf(Control(opener)));
        Sleep(200);
        QueueClick();
        const HWND dialog = WaitForWindow([&] { return FindDialog(processId_); }, 20000);
        if (dialog == nullptr) {
            std::fprintf(stderr, "no dialog appeared after a click on %s\n",
                         std::string(quenlo::gallery::GalleryControlName(opener)).c_str());
            return false;
        }
        Sleep(kFadeSettleMs);
        const bool saved = Photograph(shots_ + shot, gallery_, dialog);
        const HWND close = GetDlgItem(dialog, closeId);
        QueueMouseMove(CentreOf(close != nullptr ? close : dialog));
        Sleep(300);
        if (close != nullptr) {
            QueueClick();
        } else {
            PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(closeId), 0);
        }
        const bool closed =
            WaitForWindow([&]() -> HWND { return IsWindow(dialog) ? nullptr : gallery_; }, 10000);
        QueueMouseMove({2, 2});
        Sleep(300);
        return saved && closed;
    }

private:
    HWND gallery_;
    DWORD processId_;
    std::string shots_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: gallery_demo_driver GALLERY_EXE SHOTS_FOLDER [--rest-only]\n");
        return 2;
    }
    const std::string exe = argv[1];
    const bool restOnly = argc > 3 && std::string(argv[3]) == "--rest-only";

    PROCESS_INFORMATION process{};
    if (!StartProgram(exe, process)) {
        return 1;
    }
    const DWORD id = process.dwProcessId;
    const HWND gallery =
        WaitForWindow([&] { return FindProcessWindow(id, quenlo::gallery::kVbFormClass); }, 20000);
    if (gallery == nullptr) {
        std::fprintf(stderr, "the gallery's window did not appear\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    SetForegroundWindow(gallery);

    Driver driver(gallery, id, std::string(argv[2]) + "\\");
    bool ok = driver.Rest();
    if (!restOnly) {
        ok = driver.HoverMidFade() && ok;
        ok = driver.HeaderPressed() && ok;
        ok = driver.ComboOpen() && ok;
        ok = driver.ClicksAndHover() && ok;
        ok = driver.ModalDialog(GalleryControl::MessageBoxButton, "6-message-box.png", IDOK) && ok;
        ok = driver.ModalDialog(GalleryControl::OpenFileButton, "7-open-file.png", IDCANCEL) && ok;
    }

    return EndProgram(gallery, process) == 0 && ok ? 0 : 1;
}
