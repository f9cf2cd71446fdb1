#include "skin/painting/progress_bar_paint.h"

#include <commctrl.h>

#include "skin/common/gdi_handles.h"
#include "skin/common/rounding.h"
#include "skin/registry/window_queries.h"
#include "skin/images/skin_blit.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {

namespace {

float ProgressFraction(HWND hWnd) {
    const auto position = static_cast<int>(SendMessageA(hWnd, PBM_GETPOS, 0, 0));
    return static_cast<float>(position) / kProgressFullScale;
}

bool HasStyle(HWND hWnd, LONG_PTR bits) {
    return (GetWindowLongPtrA(hWnd, GWL_STYLE) & bits) != 0;
}

}  // namespace

void PaintProgressBarClient(HWND hWnd) {
    const bool vertical = HasStyle(hWnd, PBS_VERTICAL);
    RECT client{};
    GetClientRect(hWnd, &client);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    UniqueMemoryBitmap surface(CreateMemoryBitmap(cw, ch));
    const float f = ProgressFraction(hWnd);
    FillColorRect(surface.get(), 0, 0, cw, ch, kBackgroundColour);
    if (f != 0.0f) {
        if (vertical) {
            // Grows upward from the bottom, and reaches it: the top and the length
            // rounded apart could leave the bottom row white when both are halves.
            const int top = RoundHalfEven(ch - f * ch);
            FillColorRect(surface.get(), 0, top, cw, ch - top, kProgressFillColour);
        } else {
            FillColorRect(surface.get(), 0, 0, RoundHalfEven(f * cw), ch, kProgressFillColour);
        }
    }
    PaintDc paint(hWnd);
    BitBlt(paint.get(), 0, 0, cw, ch, surface.get(), 0, 0, SRCCOPY);
}

void PaintProgressBarWindow(HWND hWnd) {
    int bx = 0;
    int by = 0;
    GetBorderMetrics(hWnd, bx, by);
    WindowBox box;
    GetWindowSize(hWnd, box);
    RECT client{};
    GetClientRect(hWnd, &client);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;

    UniqueMemoryBitmap surface(CreateMemoryBitmap(box.width, box.height));
    const float f = ProgressFraction(hWnd);
    // Always the enabled border colour: a disabled bar looks the same.
    FillColorRect(surface.get(), 0, 0, box.width, box.height, kBorderColour);
    FillColorRect(surface.get(), 1, 1, box.width - 2, box.height - 2, kBackgroundColour);
    if (f != 0.0f) {
        if (HasStyle(hWnd, PBS_VERTICAL)) {
            // A segmented vertical bar gets its fill from the client paint only.
            if (HasStyle(hWnd, PBS_SMOOTH)) {
                FillColorRect(surface.get(), bx, by, cw, ch, kProgressFillColour);
            }
            FillColorRect(surface.get(), bx, by, cw, RoundHalfEven(ch - ch * f), kBackgroundColour);
        } else {
            FillColorRect(surface.get(), bx, by, RoundHalfEven(f * cw), ch, kProgressFillColour);
        }
    }
    WindowDc dc = WindowDc::Whole(hWnd);
    BitBlt(dc.get(), 0, 0, box.width, box.height, surface.get(), 0, 0, SRCCOPY);
}

}  // namespace quenlo::skin
