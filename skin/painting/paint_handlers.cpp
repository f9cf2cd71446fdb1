#include "skin/painting/paint_handlers.h"

#include "skin/common/gdi_handles.h"
#include "skin/registry/fade_timer.h"
#include "skin/registry/window_props.h"
#include "skin/registry/class_groups.h"
#include "skin/painting/button_painter.h"
#include "skin/painting/check_painters.h"
#include "skin/painting/combo_painter.h"
#include "skin/painting/primitives.h"
#include "skin/painting/flat_frames.h"
#include "skin/painting/header_painter.h"
#include "skin/painting/progress_bar_paint.h"

namespace quenlo::skin {

namespace {

LRESULT PassOn(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(previous, hWnd, msg, wParam, lParam);
}

// Buttons that were not push buttons before the skin came are left to the system.
bool WasPushButton(HWND hWnd) {
    return (GetSkinProp<LONG_PTR>(hWnd, kPropOldStyle) & 6) == 0;
}

// The button class has CS_PARENTDC: its paint DC is clipped like the parent's, not
// to the button's rounded region, and would paint the corners the region cuts away.
void ClipToWindowRegion(HWND hWnd, HDC dc) {
    UniqueHrgn region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(hWnd, region.get()) == ERROR) {
        return;
    }
    // The region is in window coordinates, the paint DC in client coordinates.
    RECT window{};
    GetWindowRect(hWnd, &window);
    POINT client{0, 0};
    ClientToScreen(hWnd, &client);
    OffsetRgn(region.get(), window.left - client.x, window.top - client.y);
    ExtSelectClipRgn(dc, region.get(), RGN_AND);
}

void PaintButtonFully(HWND hWnd) {
    // A paint in the middle of a fade ends it: the current state shows whole.
    StopFadeTimer(hWnd);
    SetSkinProp(hWnd, kPropAlphaLevel, INT_PTR{255});
    PaintDc paint(hWnd);
    ClipToWindowRegion(hWnd, paint.get());
    PaintButton(hWnd, paint.get());
}

// The editable drop-down draws itself entirely: white ground, flat frame, button.
void PaintEditableCombo(HWND hWnd, int state) {
    WindowBox box;
    GetWindowSize(hWnd, box);
    PaintDc paint(hWnd);
    FillColorRect(paint.get(), 0, 0, box.width, box.height, kBackgroundColour);
    FrameColorRect(paint.get(), 0, 0, box.width, box.height, BorderColourOf(hWnd));
    PaintComboBox(hWnd, paint.get(), state, true);
}

// Over what the system drew: the flat frames and the skinned button.
void PaintComboOverSystem(HWND hWnd, int state) {
    DrawFlatDoubleFrame(hWnd);
    WindowDc dc = WindowDc::Whole(hWnd);
    PaintComboBox(hWnd, dc.get(), state, true);
}

LRESULT PaintComboKind(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       bool isComboBox) {
    auto state = static_cast<int>(GetSkinProp<INT_PTR>(hWnd, kPropOldState));
    const bool editable = (GetWindowLongPtrA(hWnd, GWL_STYLE) & 1) == 0;
    if (isComboBox && editable) {
        PaintEditableCombo(hWnd, state);
        return 0;
    }
    const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
    PaintComboOverSystem(hWnd, state);
    return result;
}

}  // namespace

LRESULT OnPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (ClassGroupOfWindow(hWnd)) {
        case ClassGroup::CommandButton:
            if (!WasPushButton(hWnd)) {
                return PassOn(previous, hWnd, msg, wParam, lParam);
            }
            PaintButtonFully(hWnd);
            return 0;
        case ClassGroup::ComboBox:
            return PaintComboKind(previous, hWnd, msg, wParam, lParam, true);
        case ClassGroup::DriveList:
            return PaintComboKind(previous, hWnd, msg, wParam, lParam, false);
        case ClassGroup::CheckBox: {
            const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
            PaintCheckBox(hWnd, 0, true);
            return result;
        }
        case ClassGroup::OptionButton: {
            const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
            PaintOptionButton(hWnd, 0, true);
            return result;
        }
        case ClassGroup::DataList:
        case ClassGroup::DropDownList: {
            const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
            DrawFlatDoubleFrame(hWnd);
            return result;
        }
        case ClassGroup::ProgressBar:
            PaintProgressBarClient(hWnd);
            return 0;
        case ClassGroup::Header:
            PaintWholeHeader(hWnd);
            return 0;
        case ClassGroup::Grid: {
            const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
            if ((GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_BORDER) != 0) {
                DrawFlatOuterFrame(hWnd);
            }
            return result;
        }
        default:
            return PassOn(previous, hWnd, msg, wParam, lParam);
    }
}

LRESULT OnNcPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (ClassGroupOfWindow(hWnd)) {
        case ClassGroup::ProgressBar:
            PaintProgressBarWindow(hWnd);
            return 0;
        case ClassGroup::DataList:
            return PassOn(previous, hWnd, msg, wParam, lParam);
        default: {
            const LRESULT result = PassOn(previous, hWnd, msg, wParam, lParam);
            if ((GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) {
                DrawFlatClientEdge(hWnd);
            }
            return result;
        }
    }
}

}  // namespace quenlo::skin
