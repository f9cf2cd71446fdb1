#include "skin/engine/input_handlers.h"

#include "skin/engine/button_fade.h"
#include "skin/engine/header_tracking.h"
#include "skin/engine/input_geometry.h"
#include "skin/engine/mouse_leave.h"
#include "skin/registry/window_props.h"
#include "skin/registry/class_groups.h"
#include "skin/painting/check_painters.h"
#include "skin/painting/combo_painter.h"

namespace quenlo::skin {

namespace {

bool LeftButtonIn(WPARAM wParam) {
    return (wParam & MK_LBUTTON) != 0;
}
bool IsSpace(WPARAM wParam) {
    return wParam == VK_SPACE;
}

void PaintCombo(HWND hWnd, int state) {
    PaintComboBox(hWnd, nullptr, state, false);
}

// A move over a combo box lights the arrow; over the text of an editable one it does not.
int ComboStateForMove(HWND hWnd, WPARAM wParam, LPARAM lParam) {
    if (!IsInComboArrowZone(hWnd, LoWord(lParam), HiWord(lParam))) {
        return kStateNormal;
    }
    return LeftButtonIn(wParam) ? kStatePressed : kStateHover;
}

}  // namespace

LRESULT OnMouseMove(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    const int pointedState = LeftButtonIn(wParam) ? kStatePressed : kStateHover;
    switch (ClassGroupOfWindow(hWnd)) {
        case ClassGroup::CommandButton:
            ButtonMouseMove(hWnd);
            break;
        case ClassGroup::ComboBox:
            TrackMouseLeaveOnce(hWnd);
            PaintCombo(hWnd, ComboStateForMove(hWnd, wParam, lParam));
            break;
        case ClassGroup::DriveList:
            TrackMouseLeaveOnce(hWnd);
            PaintCombo(hWnd, pointedState);
            break;
        case ClassGroup::CheckBox:
            TrackMouseLeaveOnce(hWnd);
            PaintCheckBox(hWnd, pointedState, true);
            break;
        case ClassGroup::OptionButton:
            TrackMouseLeaveOnce(hWnd);
            PaintOptionButton(hWnd, pointedState, true);
            break;
        case ClassGroup::Header:
            HeaderMouseMove(hWnd, LoWord(lParam), LeftButtonIn(wParam));
            break;
        default:
            break;
    }
    return result;
}

LRESULT OnMouseLeave(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    switch (ClassGroupOfWindow(hWnd)) {
        case ClassGroup::CommandButton:
            ButtonMouseLeave(hWnd);
            break;
        case ClassGroup::ComboBox:
        case ClassGroup::DriveList:
            SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
            PaintCombo(hWnd, kStateNormal);
            break;
        case ClassGroup::CheckBox:
            SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
            PaintCheckBox(hWnd, kStateNormal, false);
            break;
        case ClassGroup::OptionButton:
            SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
            PaintOptionButton(hWnd, kStateNormal, false);
            break;
        case ClassGroup::Header:
            HeaderMouseLeave(hWnd);
            break;
        default:
            break;
    }
    return result;
}

LRESULT OnLButtonDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const ClassGroup group = ClassGroupOfWindow(hWnd);
    // The header needs the pressed item before its own procedure starts a drag.
    if (group == ClassGroup::Header) {
        HeaderButtonDown(hWnd, LoWord(lParam));
    }
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    switch (group) {
        case ClassGroup::CommandButton:
            ButtonPress(hWnd);
            break;
        case ClassGroup::ComboBox:
            if (IsInComboArrowZone(hWnd, LoWord(lParam), HiWord(lParam))) {
                PaintCombo(hWnd, kStatePressed);
            }
            break;
        case ClassGroup::DriveList:
            PaintCombo(hWnd, kStatePressed);
            break;
        case ClassGroup::CheckBox:
            PaintCheckBox(hWnd, kStatePressed, false);
            break;
        case ClassGroup::OptionButton:
            PaintOptionButton(hWnd, kStatePressed, false);
            break;
        default:
            break;
    }
    return result;
}

LRESULT OnLButtonUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const ClassGroup group = ClassGroupOfWindow(hWnd);
    if (group == ClassGroup::Header) {
        HeaderButtonUp(hWnd);
    }
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    switch (group) {
        case ClassGroup::CommandButton:
            ButtonRelease(hWnd, kFadeFromRelease);
            break;
        case ClassGroup::ComboBox:
        case ClassGroup::DriveList:
            PaintCombo(hWnd, IsCursorOver(hWnd) ? kStateHover : kStateNormal);
            break;
        case ClassGroup::CheckBox:
            PaintCheckBox(hWnd, kStateNormal, false);
            break;
        case ClassGroup::OptionButton:
            PaintOptionButton(hWnd, kStateNormal, false);
            break;
        default:
            break;
    }
    return result;
}

LRESULT OnKeyDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    if (IsSpace(wParam)) {
        switch (ClassGroupOfWindow(hWnd)) {
            case ClassGroup::CommandButton:
                ButtonPress(hWnd);
                break;
            case ClassGroup::CheckBox:
                PaintCheckBox(hWnd, kStatePressed, false);
                break;
            case ClassGroup::OptionButton:
                PaintOptionButton(hWnd, kStatePressed, false);
                break;
            default:
                break;
        }
    }
    return result;
}

LRESULT OnKeyUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    if (IsSpace(wParam)) {
        switch (ClassGroupOfWindow(hWnd)) {
            case ClassGroup::CommandButton:
                ButtonRelease(hWnd, 0);
                break;
            case ClassGroup::CheckBox:
                PaintCheckBox(hWnd, kStateNormal, false);
                break;
            case ClassGroup::OptionButton:
                PaintOptionButton(hWnd, kStateNormal, false);
                break;
            default:
                break;
        }
    }
    return result;
}

LRESULT OnSetFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    switch (ClassGroupOfWindow(hWnd)) {
        case ClassGroup::CommandButton:
            ButtonFocusChanged(hWnd);
            break;
        case ClassGroup::OptionButton:
            PaintOptionButton(hWnd, kStateNormal, true);
            break;
        default:
            break;
    }
    return result;
}

LRESULT OnKillFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Losing the focus redraws exactly as gaining it: the focus rectangle goes.
    return OnSetFocus(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnEnable(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(previous, hWnd, msg, wParam, lParam);
    if (ClassGroupOfWindow(hWnd) == ClassGroup::CommandButton) {
        ButtonEnabled(hWnd, wParam != 0);
    }
    return result;
}

LRESULT OnTimer(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Whatever the timer's identifier: a skinned button advances its fade one step.
    if (ClassGroupOfWindow(hWnd) == ClassGroup::CommandButton) {
        ButtonFadeStep(hWnd);
    }
    return CallWindowProcA(previous, hWnd, msg, wParam, lParam);
}

}  // namespace quenlo::skin
