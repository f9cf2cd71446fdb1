// Quenlo: splits a text file into numbered files of a fixed number of lines.
#include <windows.h>

#include "main_window/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    quenlo::WindowServices services;
    services.quitOnDestroy = true;
    const HWND window = quenlo::MainWindow::Create(std::move(services), showCommand);
    if (!window) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        quenlo::MainWindow::Dispatch(window, message);
    }
    return static_cast<int>(message.wParam);
}
