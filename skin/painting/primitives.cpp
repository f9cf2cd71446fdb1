#include "skin/painting/primitives.h"

#include <string>

#include "skin/common/gdi_handles.h"

namespace quenlo::skin {
namespace {

RECT MakeRect(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

}  // namespace

int DrawTextIn(HDC dc, std::string_view text, int left, int top, int width, int height,
               UINT format) {
    // DrawTextA would decode with the code page of the font's character set, which for
    // the usual ANSI_CHARSET fonts is 1252 even when the process code page is GBK or
    // UTF-8. Window texts are in the process code page, so decode with that.
    std::wstring wide;
    if (!text.empty()) {
        const int size = static_cast<int>(text.size());
        const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
        wide.resize(static_cast<std::size_t>(length));
        MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    }
    RECT rect = MakeRect(left, top, width, height);
    return DrawTextW(dc, wide.c_str(), -1, &rect, format);
}

int FillColorRect(HDC dc, int left, int top, int width, int height, COLORREF colour) {
    // An inverted rectangle is not reliably empty to FillRect: it is refused here.
    if (width <= 0 || height <= 0) {
        return 0;
    }
    UniqueHbrush brush(CreateSolidBrush(colour));
    RECT rect = MakeRect(left, top, width, height);
    return FillRect(dc, &rect, brush.get());
}

int FrameColorRect(HDC dc, int left, int top, int width, int height, COLORREF colour) {
    if (width <= 0 || height <= 0) {
        return 0;
    }
    UniqueHbrush brush(CreateSolidBrush(colour));
    RECT rect = MakeRect(left, top, width, height);
    return FrameRect(dc, &rect, brush.get());
}

int DrawFocusBox(HDC dc, int left, int top, int width, int height) {
    RECT rect = MakeRect(left, top, width, height);
    return DrawFocusRect(dc, &rect);
}

int GetWindowSize(HWND window, WindowBox& box) {
    RECT rect{};
    int result = GetWindowRect(window, &rect);
    if (!result) {
        rect = RECT{};
    }
    box = WindowBox{rect.left,
                    rect.top,
                    rect.right,
                    rect.bottom,
                    rect.right - rect.left,
                    rect.bottom - rect.top};
    return result;
}

}  // namespace quenlo::skin
