#include "desktop_input.h"

#include <algorithm>
#include <cstdio>

#include "png_writer.h"

namespace quenlo::skin {

bool StartProgram(const std::string& exe, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }
    WaitForInputIdle(process.hProcess, 10000);
    return true;
}

int EndProgram(HWND window, PROCESS_INFORMATION& process) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    int result = -1;
    if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        result = static_cast<int>(exitCode);
    } else {
        std::fprintf(stderr, "the program did not end after its window was closed\n");
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

HWND FindProcessWindow(DWORD processId, const char* className, const wchar_t* title) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != processId || !IsWindowVisible(window)) {
            continue;
        }
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        if (title == nullptr || std::wstring_view(text) == title) {
            return window;
        }
    }
    return nullptr;
}

bool Photograph(const std::string& path, HWND first, HWND second) {
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
    const Picture picture =
        ReadPicture(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    const bool written = WritePng(path, picture);
    std::printf("%s %s\n", written ? "saved" : "COULD NOT SAVE", path.c_str());
    return written;
}

}  // namespace quenlo::skin
