#include "desktop_input.h"

#include <algorithm>
#include <cstdio>

#include "png_writer.h"

namespace quenlo::skin {
namespace {

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

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

POINT CentreOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

void MoveMouse(POINT to) {
    SetCursorPos(to.x, to.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(to.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = MulDiv(to.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void PressMouse() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void ReleaseMouse() {
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void ClickMouse() {
    PressMouse();
    ReleaseMouse();
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
