#include "skin/registry/fade_timer.h"

#include "skin/registry/window_props.h"

namespace quenlo::skin {

UINT_PTR StartFadeTimer(HWND hWnd) {
    if (GetSkinProp<UINT_PTR>(hWnd, kPropTimerId) != 0) {
        return 0;
    }
    const UINT_PTR id = SetTimer(hWnd, kFadeTimerId, kFadePeriodMs, nullptr);
    SetSkinProp(hWnd, kPropTimerId, id);
    return id;
}

BOOL StopFadeTimer(HWND hWnd) {
    const auto id = GetSkinProp<UINT_PTR>(hWnd, kPropTimerId);
    if (id == 0) {
        return FALSE;
    }
    const BOOL killed = KillTimer(hWnd, id);
    SetSkinProp(hWnd, kPropTimerId, UINT_PTR{0});
    return killed;
}

}  // namespace quenlo::skin
