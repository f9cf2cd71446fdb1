#include "skin/engine/skin_attachment.h"

#include "skin/engine/button_state_bitmaps.h"
#include "skin/registry/fade_timer.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin/registry/class_groups.h"
#include "skin/registry/window_queries.h"
#include "skin/engine/skin_window_proc.h"
#include "skin/images/skin_images.h"

namespace quenlo::skin {

namespace {

void PrepareButton(HWND hWnd) {
    CreateButtonStateBitmaps(hWnd);
    const LONG_PTR style = GetWindowLongPtrA(hWnd, GWL_STYLE);
    // Push buttons are drawn by the skin from now on; check boxes, radio buttons and
    // group boxes styled as "button" keep their own drawing.
    if ((style & 6) == 0) {
        SendMessageA(hWnd, BM_SETSTYLE, BS_OWNERDRAW, -1);
    }
    SetSkinProp(hWnd, kPropOldStyle, style);
    SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
    SetSkinProp(hWnd, kPropTimerId, INT_PTR{0});
    SetSkinProp(hWnd, kPropOldState, INT_PTR{IsWindowEnabled(hWnd) ? 0 : 3});
    SetSkinProp(hWnd, kPropAlphaLevel, INT_PTR{0});
    GiveButtonRoundedRegion(hWnd);
}

void ReleaseButton(HWND hWnd) {
    DeleteButtonStateBitmaps(hWnd);
    StopFadeTimer(hWnd);
    SetWindowLongPtrA(hWnd, GWL_STYLE, GetSkinProp<LONG_PTR>(hWnd, kPropOldStyle));
    for (const char* name :
         {kPropOldStyle, kPropMouseFlag, kPropTimerId, kPropOldState, kPropAlphaLevel}) {
        RemoveSkinProp(hWnd, name);
    }
    SetWindowRgn(hWnd, nullptr, TRUE);
}

// Both directions end with the whole window drawn again by whichever procedure is
// now in place.
void RepaintWholeWindow(HWND hWnd) {
    LONG noRegion = 0;
    SendMessageA(hWnd, WM_NCPAINT, 1, reinterpret_cast<LPARAM>(&noRegion));
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
}

void ReleaseSkinIfUnused() {
    SkinnedWindowCount -= 1;
    if (SkinnedWindowCount <= 0) {
        SkinnedWindowCount = 0;
        DeleteSkinImages();
        SkinImagesBuilt = false;
    }
}

}  // namespace

INT_PTR ApplySkin(HWND hWnd) {
    if (!SkinImagesBuilt) {
        SkinImagesBuilt = true;
        HasTrackMouseEvent = IsFunctionExported("TrackMouseEvent", "User32");
        BuildSkinImages();
    }
    return SkinWindow(hWnd);
}

INT_PTR RemoveSkin(HWND hWnd) {
    return UnskinWindow(hWnd);
}

INT_PTR SkinWindow(HWND hWnd) {
    if (hWnd == nullptr || GetSkinProp<WNDPROC>(hWnd, kPropProcAddr) != nullptr) {
        return 0;
    }
    switch (ClassGroupOfWindow(hWnd)) {
        case ClassGroup::Container:
            EnumChildWindows(hWnd, SkinChildProc, 0);
            break;
        case ClassGroup::CommandButton:
            PrepareButton(hWnd);
            break;
        case ClassGroup::ComboBox:
        case ClassGroup::DriveList:
        case ClassGroup::CheckBox:
        case ClassGroup::OptionButton:
            SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
            SetSkinProp(hWnd, kPropOldState, INT_PTR{0});
            break;
        case ClassGroup::Header:
            SetSkinProp(hWnd, kPropMouseFlag, INT_PTR{0});
            SetSkinProp(hWnd, kPropPressedIndex, INT_PTR{-1});
            SetSkinProp(hWnd, kPropHotIndex, INT_PTR{-1});
            break;
        default:
            break;
    }
    SkinnedWindowCount += 1;
    // PROCADDR is in place before SkinWndProc can see a message: a skinned window
    // never reaches it without its previous procedure.
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    SetSkinProp(hWnd, kPropProcAddr, previous);
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinWndProc));
    RepaintWholeWindow(hWnd);
    return 1;
}

INT_PTR UnskinWindow(HWND hWnd) {
    if (hWnd == nullptr) {
        return 0;
    }
    const auto previous = GetSkinProp<WNDPROC>(hWnd, kPropProcAddr);
    if (previous == nullptr) {
        return 0;
    }
    switch (ClassGroupOfWindow(hWnd)) {
        case ClassGroup::Container:
            EnumChildWindows(hWnd, UnskinChildProc, 0);
            break;
        case ClassGroup::CommandButton:
            ReleaseButton(hWnd);
            break;
        case ClassGroup::ComboBox:
        case ClassGroup::DriveList:
        case ClassGroup::CheckBox:
        case ClassGroup::OptionButton:
            RemoveSkinProp(hWnd, kPropMouseFlag);
            RemoveSkinProp(hWnd, kPropOldState);
            break;
        case ClassGroup::Header:
            RemoveSkinProp(hWnd, kPropMouseFlag);
            RemoveSkinProp(hWnd, kPropPressedIndex);
            RemoveSkinProp(hWnd, kPropHotIndex);
            break;
        default:
            break;
    }
    RemoveSkinProp(hWnd, kPropProcAddr);
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RepaintWholeWindow(hWnd);
    ReleaseSkinIfUnused();
    return 1;
}

BOOL CALLBACK SkinChildProc(HWND hWnd, LPARAM) {
    SkinWindow(hWnd);
    return TRUE;
}

BOOL CALLBACK UnskinChildProc(HWND hWnd, LPARAM) {
    UnskinWindow(hWnd);
    return TRUE;
}

}  // namespace quenlo::skin
