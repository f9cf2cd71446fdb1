#include "skin/engine/header_tracking.h"

#include <commctrl.h>

#include "skin/engine/input_geometry.h"
#include "skin/engine/mouse_leave.h"
#include "skin/registry/window_props.h"
#include "skin/painting/header_painter.h"

namespace quenlo::skin {

namespace {

constexpr int kNone = -1;

int ReadIndex(HWND hWnd, const char* name) {
    return static_cast<int>(GetSkinProp<INT_PTR>(hWnd, name));
}
void StoreIndex(HWND hWnd, const char* name, int index) {
    SetSkinProp(hWnd, name, INT_PTR{index});
}

}  // namespace

void HeaderMouseMove(HWND hWnd, int x, bool leftButtonDown) {
    TrackMouseLeaveOnce(hWnd);
    const int hot = HeaderItemAt(hWnd, x);
    const int previousHot = ReadIndex(hWnd, kPropHotIndex);
    const int pressed = ReadIndex(hWnd, kPropPressedIndex);
    if (hot == previousHot) {
        return;
    }
    if (previousHot >= 0 && previousHot != pressed) {
        PaintHeaderItem(hWnd, nullptr, previousHot, 0);
    }
    if (!leftButtonDown) {
        StoreIndex(hWnd, kPropHotIndex, hot);
        PaintHeaderItem(hWnd, nullptr, hot, 1);
    } else if (hot == pressed) {
        PaintHeaderItem(hWnd, nullptr, hot, 2);
    }
}

void HeaderMouseLeave(HWND hWnd) {
    const int hot = ReadIndex(hWnd, kPropHotIndex);
    SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
    StoreIndex(hWnd, kPropPressedIndex, kNone);
    StoreIndex(hWnd, kPropHotIndex, kNone);
    if (hot >= 0) {
        PaintHeaderItem(hWnd, nullptr, hot, 0);
    }
}

void HeaderButtonDown(HWND hWnd, int x) {
    // A header without items keeps whatever it held.
    if (SendMessageA(hWnd, HDM_GETITEMCOUNT, 0, 0) > 0) {
        StoreIndex(hWnd, kPropPressedIndex, HeaderItemAt(hWnd, x));
    }
}

void HeaderButtonUp(HWND hWnd) {
    StoreIndex(hWnd, kPropPressedIndex, kNone);
}

}  // namespace quenlo::skin
