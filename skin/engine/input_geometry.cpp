#include "skin/engine/input_geometry.h"

#include <commctrl.h>

#include "skin/painting/primitives.h"
#include "skin/registry/window_queries.h"

namespace quenlo::skin {

bool IsInComboArrowZone(HWND hWnd, int x, int y) {
    if ((GetWindowLongPtrA(hWnd, GWL_STYLE) & 1) != 0) {
        return true;
    }
    WindowBox box;
    GetWindowSize(hWnd, box);
    const int v = WindowMetric(hWnd, SM_CXVSCROLL);
    return x >= box.width - v - 2 && x <= box.width - 2 && y >= 2 && y <= box.height - 2;
}

bool IsCursorOver(HWND hWnd) {
    POINT cursor{};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor) == hWnd;
}

int HeaderItemAt(HWND hWnd, int x) {
    const auto count = static_cast<int>(SendMessageA(hWnd, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        SendMessageA(hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        if (x >= item.left && x <= item.right) {
            return i;
        }
    }
    return -1;
}

}  // namespace quenlo::skin
