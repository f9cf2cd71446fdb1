// The window's button on the taskbar: how far a run has come, its failure, and a
// flash when it ends unseen. The shell's own button is the real one; tests put a
// recorder in its place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

struct ITaskbarList3;

namespace quenlo {

class TaskbarButton {
public:
    virtual ~TaskbarButton() = default;
    // The shell has made the window's button (again, after a restart of Explorer):
    // only from now on can it be told anything.
    virtual void ButtonCreated(HWND window) = 0;
    virtual void ShowProgress(HWND window, std::uint64_t done, std::uint64_t total) = 0;
    virtual void ShowError(HWND window) = 0;
    virtual void Clear(HWND window) = 0;
    // Flashes the button until the user comes back to the window.
    virtual void Flash(HWND window) = 0;
};

// The shell's button through ITaskbarList3 (Windows 7 and later). Without a taskbar
// (no shell, an older system) only the flash remains. COM must be initialised on
// the calling thread. makeList stands in for CoCreateInstance (the button takes over
// the reference it returns; null: no taskbar); empty, the shell's own list is made.
std::shared_ptr<TaskbarButton> MakeShellTaskbarButton(
    std::function<ITaskbarList3*()> makeList = {});

// The message the shell sends when it has made a window's taskbar button.
UINT TaskbarButtonCreatedMessage();

}  // namespace quenlo
