#include "skin/engine/skin_window_proc.h"

#include <array>

#include "skin/engine/accessible_marks.h"
#include "skin/engine/button_state_bitmaps.h"
#include "skin/engine/input_handlers.h"
#include "skin/engine/skin_attachment.h"
#include "skin/registry/window_props.h"
#include "skin/registry/class_groups.h"
#include "skin/painting/button_painter.h"
#include "skin/painting/check_painters.h"
#include "skin/painting/combo_painter.h"
#include "skin/painting/paint_handlers.h"

namespace quenlo::skin {

namespace {

using Handler = LRESULT (*)(WNDPROC, HWND, UINT, WPARAM, LPARAM);

LRESULT PassOn(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(previous, hWnd, msg, wParam, lParam);
}

// Detaches first, so the previous procedure and every later message see an
// unskinned window.
LRESULT OnDestroy(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    UnskinWindow(hWnd);
    return PassOn(previous, hWnd, msg, wParam, lParam);
}

// Skinned push buttons are owner-drawn only so that the system leaves them to the
// skin: their draw requests are swallowed. Any other owner-drawn item still goes to
// its owner; swallowed, it would stay blank (the file dialog's "Look in" box, a
// button its program draws itself, which PaintButton leaves alone).
bool SkinPaintsItem(const DRAWITEMSTRUCT* item) {
    return item != nullptr && item->CtlType == ODT_BUTTON &&
           GetSkinProp(item->hwndItem, kPropProcAddr) != 0 &&
           ClassGroupOfWindow(item->hwndItem) == ClassGroup::CommandButton &&
           (GetSkinProp(item->hwndItem, kPropOldStyle) & 6) == 0;
}

LRESULT OnDrawItem(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (SkinPaintsItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
        return 0;
    }
    return PassOn(previous, hWnd, msg, wParam, lParam);
}

// A modal dialog or message box owned by this window has gone idle: skin it.
LRESULT OnEnterIdle(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
    if (lParam != 0) {
        SkinWindow(reinterpret_cast<HWND>(lParam));
    }
    return result;
}

// Edit boxes sit on white whatever background the previous procedure chose.
LRESULT OnCtlColorEdit(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
    SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
    return result;
}

// A combo box's drop-down list announces itself here the first time it opens.
LRESULT OnCtlColorListBox(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
    if (lParam != 0) {
        SkinWindow(reinterpret_cast<HWND>(lParam));
    }
    return result;
}

// A command button's pictures hold its caption. Callers are meant to detach around a
// caption change, but one that does not (a run putting back "开始处理" at its end)
// would leave the old caption on show; so a new caption is rendered here too.
LRESULT OnSetText(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
    if (ClassGroupOfWindow(hWnd) == ClassGroup::CommandButton) {
        DrawControlText(hWnd);
        RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE);
    }
    return result;
}

// After a click anywhere, the check boxes and option buttons beside it show the marks
// the click may have changed.
LRESULT OnLButtonUpThenRepaintChecks(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam,
                                     LPARAM lParam) {
    const LRESULT result = OnLButtonUp(previous, hWnd, msg, wParam, lParam);
    HWND parent = GetParent(hWnd);
    EnumChildWindows(parent != nullptr ? parent : hWnd, RepaintCheckChildProc, 0);
    return result;
}

struct Route {
    UINT message;
    Handler handler;
};

constexpr std::array kRoutes{
    Route{WM_DESTROY, OnDestroy},
    Route{WM_SIZE, OnSize},
    Route{WM_ACTIVATE, OnActivate},
    Route{WM_SETFOCUS, OnSetFocus},
    Route{WM_KILLFOCUS, OnKillFocus},
    Route{WM_ENABLE, OnEnable},
    Route{WM_PAINT, OnPaint},
    Route{WM_DRAWITEM, OnDrawItem},
    Route{WM_WINDOWPOSCHANGED, OnWindowPosChanged},
    Route{WM_NCPAINT, OnNcPaint},
    Route{WM_KEYDOWN, OnKeyDown},
    Route{WM_KEYUP, OnKeyUp},
    Route{WM_TIMER, OnTimer},
    Route{WM_ENTERIDLE, OnEnterIdle},
    Route{WM_CTLCOLOREDIT, OnCtlColorEdit},
    Route{WM_CTLCOLORLISTBOX, OnCtlColorListBox},
    Route{WM_MOUSEMOVE, OnMouseMove},
    Route{WM_LBUTTONDOWN, OnLButtonDown},
    Route{WM_LBUTTONUP, OnLButtonUpThenRepaintChecks},
    Route{WM_MOUSELEAVE, OnMouseLeave},
    Route{WM_SETTEXT, OnSetText},
    Route{WM_GETOBJECT, OnGetObject},
};

Handler HandlerFor(UINT msg) {
    for (const Route& route : kRoutes) {
        if (route.message == msg) {
            return route.handler;
        }
    }
    return PassOn;
}

}  // namespace

LRESULT CALLBACK SkinWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == nullptr) {
        return 0;
    }
    const auto previous = GetSkinProp<WNDPROC>(hWnd, kPropProcAddr);
    if (previous == nullptr) {
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
    return HandlerFor(msg)(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnActivate(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A dialog or message box owned by this container is skinned as activation moves
    // to it (or back from it).
    const auto other = reinterpret_cast<HWND>(lParam);
    if (ClassGroupOfWindow(hWnd) == ClassGroup::Container && other != nullptr &&
        GetParent(other) == hWnd) {
        ApplySkin(other);
    }
    return PassOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnSize(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
    if (ClassGroupOfWindow(hWnd) == ClassGroup::CommandButton) {
        ResizeButtonStateBitmaps(hWnd);
        GiveButtonRoundedRegion(hWnd);
    }
    return result;
}

LRESULT OnWindowPosChanged(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
    const ClassGroup group = ClassGroupOfWindow(hWnd);
    if (group == ClassGroup::ComboBox || group == ClassGroup::DriveList) {
        int state = 0;
        PaintComboBox(hWnd, nullptr, state, false);
    }
    return result;
}

BOOL CALLBACK RepaintCheckChildProc(HWND hWnd, LPARAM) {
    if (GetSkinProp<WNDPROC>(hWnd, kPropProcAddr) != nullptr) {
        switch (ClassGroupOfWindow(hWnd)) {
            case ClassGroup::CheckBox:
                PaintCheckBox(hWnd, 0, true);
                break;
            case ClassGroup::OptionButton:
                PaintOptionButton(hWnd, 0, true);
                break;
            default:
                break;
        }
    }
    return TRUE;
}

}  // namespace quenlo::skin
