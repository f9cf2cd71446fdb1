#include "main_window/taskbar_button.h"

#include <shobjidl.h>

namespace quenlo {
namespace {

class ShellTaskbarButton final : public TaskbarButton {
public:
    ~ShellTaskbarButton() override {
        if (list_) {
            list_->Release();
        }
    }

    void ButtonCreated(HWND) override {
        if (list_) {
            return;
        }
        void* list = nullptr;
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskbarList3, &list))) {
            return;  // no taskbar that can show progress: the window works without
        }
        list_ = static_cast<ITaskbarList3*>(list);
        if (FAILED(list_->HrInit())) {
            list_->Release();
            list_ = nullptr;
        }
    }

    void ShowProgress(HWND window, std::uint64_t done, std::uint64_t total) override {
        if (list_) {
            list_->SetProgressValue(window, done, total);
        }
    }

    void ShowError(HWND window) override {
        if (list_) {
            list_->SetProgressState(window, TBPF_ERROR);
        }
    }

    void Clear(HWND window) override {
        if (list_) {
            list_->SetProgressState(window, TBPF_NOPROGRESS);
        }
    }

    void Flash(HWND window) override {
        FLASHWINFO flash{};
        flash.cbSize = sizeof flash;
        flash.hwnd = window;
        flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
        FlashWindowEx(&flash);
    }

private:
    ITaskbarList3* list_ = nullptr;
};

}  // namespace

std::shared_ptr<TaskbarButton> MakeShellTaskbarButton() {
    return std::make_shared<ShellTaskbarButton>();
}

UINT TaskbarButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarButtonCreated");
    return message;
}

}  // namespace quenlo
