#include "skin/engine/button_fade.h"

#include "skin/registry/fade_timer.h"
#include "skin/engine/input_geometry.h"
#include "skin/engine/mouse_leave.h"
#include "skin/registry/window_props.h"
#include "skin/painting/button_painter.h"

namespace quenlo::skin {

namespace {

void SetState(HWND hWnd, int state) {
    SetSkinProp(hWnd, kPropOldState, INT_PTR{state});
}
void SetLevel(HWND hWnd, int level) {
    SetSkinProp(hWnd, kPropAlphaLevel, INT_PTR{level});
}

void PaintOpaqueNow(HWND hWnd) {
    StopFadeTimer(hWnd);
    SetLevel(hWnd, kOpaque);
    PaintButton(hWnd, nullptr);
}

}  // namespace

void ButtonMouseMove(HWND hWnd) {
    if (GetSkinProp<INT_PTR>(hWnd, kPropMouseFlag) == 0) {
        SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{1});
        TrackMouseLeave(hWnd);
        SetState(hWnd, 1);
        SetLevel(hWnd, 0);
        StartFadeTimer(hWnd);
    } else if (!IsCursorOver(hWnd)) {
        PaintOpaqueNow(hWnd);
    }
}

void ButtonMouseLeave(HWND hWnd) {
    SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
    SetState(hWnd, 1);
    SetLevel(hWnd, kLeaveOverlayLevel);
    PaintButton(hWnd, nullptr);
    SetState(hWnd, 0);
    SetLevel(hWnd, 0);
    StartFadeTimer(hWnd);
}

void ButtonPress(HWND hWnd) {
    SetState(hWnd, 2);
    PaintOpaqueNow(hWnd);
    SetLevel(hWnd, 0);
}

void ButtonRelease(HWND hWnd, int fromLevel) {
    SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
    SetState(hWnd, 0);
    SetLevel(hWnd, fromLevel);
    StartFadeTimer(hWnd);
}

void ButtonFocusChanged(HWND hWnd) {
    DrawControlText(hWnd);
    SetLevel(hWnd, 0);
    StartFadeTimer(hWnd);
}

void ButtonEnabled(HWND hWnd, bool enabled) {
    SetState(hWnd, enabled ? 0 : 3);
    PaintButton(hWnd, nullptr);
}

void ButtonFadeStep(HWND hWnd) {
    const auto level = static_cast<int>(GetSkinProp<INT_PTR>(hWnd, kPropAlphaLevel));
    PaintButton(hWnd, nullptr);
    const int next = level + kFadeStep;
    if (next > kOpaque) {
        StopFadeTimer(hWnd);
        SetLevel(hWnd, 0);
    } else {
        SetLevel(hWnd, next);
    }
}

}  // namespace quenlo::skin
