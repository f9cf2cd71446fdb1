#include "skin/painting/header_painter.h"

#include <commctrl.h>

#include <optional>

#include "skin/common/gdi_handles.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin/images/skin_blit.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {
namespace {

constexpr int kFrameWidth = 3;
constexpr int kFrameHeight = 20;

int FrameLeft(int state) {
    switch (state) {
        case kStateHover:
            return 3;
        case kStatePressed:
            return 6;
        default:
            return 0;
    }
}

void DrawItemFrame(HDC dc, int left, int width, int height, int state) {
    DrawSkinPiece(dc, left, 0, width, height, HeaderImage, FrameLeft(state), 0, kFrameWidth,
                  kFrameHeight, 1, 1, 1, 1);
}

RECT ItemRect(HWND header, int index) {
    RECT rect{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void DrawItemText(HWND header, HDC dc, const std::string& text, int left, int top, int width,
                  int height) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0));
    SelectObjectGuard selectFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    DrawTextIn(dc, text, left, top, width, height, kTextFormat);
}

UniqueMemoryBitmap ComposeHeader(HWND header, const WindowBox& box) {
    UniqueMemoryBitmap surface(CreateMemoryBitmap(box.width, box.height));
    HDC dc = surface.get();
    // Shrinking in the default mode would AND rows together and darken the column.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, box.width, box.height, HeaderImage, 1, 0, 1, kFrameHeight, SRCCOPY);
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    if (count <= 0) {
        return surface;
    }
    const int pressed = GetSkinProp<int>(header, kPropPressedIndex);
    const int hot = GetSkinProp<int>(header, kPropHotIndex);
    for (int i = 0; i < count; ++i) {
        const RECT rect = ItemRect(header, i);
        const std::string text = HeaderItemText(header, i);
        const int state = i == pressed ? kStatePressed : i == hot ? kStateHover : kStateNormal;
        DrawItemFrame(dc, rect.left, rect.right - rect.left, box.height, state);
        if (!text.empty()) {
            DrawItemText(header, dc, text, rect.left, 0, rect.right - rect.left, rect.bottom);
        }
    }
    return surface;
}

}  // namespace

std::string HeaderItemText(HWND header, int index) {
    // Room for 255 characters and the terminating NUL the control always writes.
    char buffer[256] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    buffer[sizeof buffer - 1] = '\0';
    return std::string(buffer);
}

int PaintHeaderItem(HWND header, HDC dc, int index, int state) {
    if (index < 0) {
        return 0;
    }
    WindowBox box;
    GetWindowSize(header, box);
    const RECT rect = ItemRect(header, index);
    const int itemWidth = rect.right - rect.left;
    const int itemHeight = rect.bottom - rect.top;
    UniqueMemoryBitmap surface(CreateMemoryBitmap(itemWidth, box.height));
    DrawItemFrame(surface.get(), 0, itemWidth, box.height, state);
    const std::string text = HeaderItemText(header, index);
    if (!text.empty()) {
        DrawItemText(header, surface.get(), text, 0, 0, itemWidth, box.height);
    }
    std::optional<WindowDc> windowDc;
    if (dc == nullptr) {
        windowDc.emplace(WindowDc::Whole(header));
        dc = windowDc->get();
    }
    BitBlt(dc, rect.left, 0, itemWidth, itemHeight, surface.get(), 0, 0, SRCCOPY);
    return 0;
}

void DrawWholeHeader(HWND header, HDC dc) {
    WindowBox box;
    GetWindowSize(header, box);
    UniqueMemoryBitmap surface = ComposeHeader(header, box);
    BitBlt(dc, 0, 0, box.width, box.height, surface.get(), 0, 0, SRCCOPY);
}

void PaintWholeHeader(HWND header) {
    WindowBox box;
    GetWindowSize(header, box);
    UniqueMemoryBitmap surface = ComposeHeader(header, box);
    PaintDc paint(header);
    BitBlt(paint.get(), 0, 0, box.width, box.height, surface.get(), 0, 0, SRCCOPY);
}

}  // namespace quenlo::skin
