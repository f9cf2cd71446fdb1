#include "skin/engine/mouse_leave.h"

#include <commctrl.h>

#include "platform/system_library.h"
#include "skin/registry/window_props.h"
#include "skin/registry/skin_state.h"

namespace quenlo::skin {

void TrackMouseLeave(HWND hWnd) {
    // sizeof, not the 16 of a 32-bit build: the record holds a handle and a DWORD.
    TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0};
    if (HasTrackMouseEvent) {
        TrackMouseEvent(&request);
        return;
    }
    // comctl32 is no Known DLL: from the system folder, and without it no leave notice.
    static const auto commonControlsTrack =
        SystemFunction<decltype(&::_TrackMouseEvent)>(L"comctl32.dll", "_TrackMouseEvent");
    if (commonControlsTrack != nullptr) {
        commonControlsTrack(&request);
    }
}

void TrackMouseLeaveOnce(HWND hWnd) {
    if (GetSkinProp<INT_PTR>(hWnd, kPropMouseFlag) == 0) {
        SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{1});
        TrackMouseLeave(hWnd);
    }
}

}  // namespace quenlo::skin
