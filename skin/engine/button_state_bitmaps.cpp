#include "skin/engine/button_state_bitmaps.h"

#include "skin/common/gdi_handles.h"
#include "skin/registry/window_props.h"
#include "skin/painting/button_painter.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {

namespace {

constexpr int kStateCount = 4;

}  // namespace

void CreateButtonStateBitmaps(HWND hWnd) {
    // Every bitmap is made compatible with the button's own window DC.
    WindowDc windowDc = WindowDc::Whole(hWnd);
    WindowBox box;
    GetWindowSize(hWnd, box);
    for (int n = 0; n < kStateCount; ++n) {
        // Kept in properties on purpose: the detach code deletes them.
        HDC stateDc = CreateCompatibleDC(windowDc.get());
        HBITMAP bitmap = CreateCompatibleBitmap(windowDc.get(), box.width, box.height);
        DeleteObject(SelectObject(stateDc, bitmap));
        SetSkinProp(hWnd, StateDcProp(n), stateDc);
        SetSkinProp(hWnd, StateBitmapProp(n), bitmap);
    }
    DrawControlText(hWnd);
}

void ResizeButtonStateBitmaps(HWND hWnd) {
    // Every bitmap is made compatible with the button's own window DC.
    WindowDc windowDc = WindowDc::Whole(hWnd);
    WindowBox box;
    GetWindowSize(hWnd, box);
    for (int n = 0; n < kStateCount; ++n) {
        HDC stateDc = GetSkinProp<HDC>(hWnd, StateDcProp(n));
        HBITMAP bitmap = CreateCompatibleBitmap(windowDc.get(), box.width, box.height);
        // The selection hands back the old state bitmap, which goes.
        DeleteObject(SelectObject(stateDc, bitmap));
        SetSkinProp(hWnd, StateBitmapProp(n), bitmap);
    }
    DrawControlText(hWnd);
}

void DeleteButtonStateBitmaps(HWND hWnd) {
    for (int n = 0; n < kStateCount; ++n) {
        // The DC first: it lets go of the bitmap, which can then be deleted.
        DeleteDC(GetSkinProp<HDC>(hWnd, StateDcProp(n)));
        DeleteObject(GetSkinProp<HBITMAP>(hWnd, StateBitmapProp(n)));
        RemoveSkinProp(hWnd, StateDcProp(n));
        RemoveSkinProp(hWnd, StateBitmapProp(n));
    }
}

void GiveButtonRoundedRegion(HWND hWnd) {
    WindowBox box;
    GetWindowSize(hWnd, box);
    // The window owns the region from here on.
    SetWindowRgn(hWnd, CreateRoundRectRgn(0, 0, box.width + 1, box.height + 1, 3, 3), TRUE);
}

}  // namespace quenlo::skin
