#include "main_window/program.h"

#include <objbase.h>

#include <string>
#include <utility>

#include "main_window/main_window.h"
#include "platform/win32_file_system.h"

namespace quenlo {
namespace {

constexpr char kCannotCreateWindow[] = "无法创建 Quenlo 的窗口";
constexpr char kNoReasonGiven[] = "系统未说明原因";

// The taskbar button is a COM object of the shell, used from this thread only.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

}  // namespace

int RunQuenlo(WindowServices services, int showCommand) {
    const ComApartment com;
    services = WithPlatformDefaults(std::move(services));
    const WindowServices::MessageBoxCall messageBox = services.messageBox;
    const HWND window = MainWindow::Create(std::move(services), showCommand);
    if (!window) {
        // Without its window the program has no other way to tell the user anything.
        const DWORD error = GetLastError();
        const std::string reason = error != 0 ? SystemErrorText(error) : kNoReasonGiven;
        messageBox(nullptr, std::string(kCannotCreateWindow) + "：" + reason, "Quenlo",
                   MB_OK | MB_ICONERROR);
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        MainWindow::Dispatch(window, message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace quenlo
