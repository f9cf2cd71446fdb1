#include "skin/painting/button_painter.h"

#include <optional>
#include <string>

#include "skin/common/gdi_handles.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin/registry/window_queries.h"
#include "skin/images/skin_blit.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {
namespace {

constexpr int kFaceHeight = 21;
constexpr int kFaceMargin = 3;
constexpr int kCaptionInset = 2;

// The bitmap of a state 0..3; none for any other number.
HDC StateBitmap(HWND window, int state) {
    if (state < 0 || state > 3) {
        return nullptr;
    }
    return GetSkinProp<HDC>(window, StateDcProp(state));
}

}  // namespace

void DrawControlText(HWND window) {
    WindowBox box;
    GetWindowSize(window, box);
    const std::string caption = GetWindowCaption(window);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    for (int state = 0; state <= 3; ++state) {
        HDC dc = StateBitmap(window, state);
        SelectObjectGuard selectFont(dc, font);
        SetBkMode(dc, TRANSPARENT);
        DrawSkinPiece(dc, 0, 0, box.width, box.height, ButtonImage, 0, kFaceHeight * state, 7,
                      kFaceHeight, kFaceMargin, kFaceMargin, kFaceMargin, kFaceMargin);
        SetTextColor(dc, state == kStateDisabled ? kDisabledCaptionColour : kCaptionColour);
        DrawTextIn(dc, caption, kCaptionInset, kCaptionInset, box.width - 2 * kCaptionInset,
                   box.height - 2 * kCaptionInset, kTextFormat);
        if (GetFocus() == window) {
            DrawFocusBox(dc, kCaptionInset, kCaptionInset, box.width - 2 * kCaptionInset,
                         box.height - 2 * kCaptionInset);
        }
    }
}

int PaintButton(HWND window, HDC dc) {
    if (!IsWindowEnabled(window)) {
        SetSkinProp(window, kPropOldState, kStateDisabled);
    }
    // BS_CHECKBOX, BS_RADIOBUTTON, BS_GROUPBOX, BS_OWNERDRAW... all have bit 1 or 2.
    if (GetSkinProp(window, kPropOldStyle) & 6) {
        return 0;
    }
    WindowBox box;
    GetWindowSize(window, box);
    HDC source = StateBitmap(window, GetSkinProp<int>(window, kPropOldState));
    const auto alpha = static_cast<BYTE>(GetSkinProp<int>(window, kPropAlphaLevel));

    std::optional<WindowDc> windowDc;
    if (dc == nullptr) {
        windowDc.emplace(WindowDc::Whole(window));
        dc = windowDc->get();
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    // gdi32's own AlphaBlend, the same function: msimg32 is no Known DLL.
    GdiAlphaBlend(dc, 0, 0, box.width, box.height, source, 0, 0, box.width, box.height, blend);
    return 0;
}

}  // namespace quenlo::skin
