#include "main_window/taskbar_button.h"

#include <shobjidl.h>

#include <utility>

namespace quenlo {
namespace {

ITaskbarList3* MakeShellList() {
    void* list = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                &list))) {
        return nullptr;
    }
    return static_cast<ITaskbarList3*>(list);
}

class ShellTaskbarButton final : public TaskbarButton {
public:
    explicit ShellTaskbarButton(std::function<ITaskbarList3*()> makeList)
        : makeList_(makeList ? std::move(makeList) : MakeShellList) {}

    ~ShellTaskbarButton() override {
        if (list_) {
            list_->Release();
        }
    }

    void ButtonCreated(HWND) override {
        if (list_) {
            return;
        }
        list_ = makeList_();
        if (!list_) {
            return;  // no taskbar that can show progress: the window works without
        }
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
    std::function<ITaskbarList3*()> makeList_;
    ITaskbarList3* list_ = nullptr;
};

}  // namespace

std::shared_ptr<TaskbarButton> MakeShellTaskbarButton(std::function<ITaskbarList3*()> makeList) {
    return std::make_shared<ShellTaskbarButton>(std::move(makeList));
}

UINT TaskbarButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarButtonCreated");
    return message;
}

}  // namespace quenlo
