#include "skin/painting/combo_painter.h"

#include <optional>

#include "skin/common/gdi_handles.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin/registry/window_queries.h"
#include "skin/images/skin_blit.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {
namespace {

constexpr int kStripWidth = 4;
constexpr int kStripHeight = 18;
constexpr int kArrowWidth = 7;
constexpr int kArrowHeight = 4;

}  // namespace

void PaintComboBox(HWND window, HDC dc, int& state, bool force) {
    const bool listOpen = SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const int drawnState = GetSkinProp<int>(window, kPropOldState);
    if (listOpen) {
        state = kStatePressed;
    }
    if (drawnState == state && !force) {
        return;
    }
    // CBS_DROPDOWN and CBS_DROPDOWNLIST have bit 1; CBS_SIMPLE has no button.
    if ((GetWindowLongPtrA(window, GWL_STYLE) & 2) == 0) {
        return;
    }
    SetSkinProp(window, kPropOldState, state);

    WindowBox box;
    GetWindowSize(window, box);
    const int buttonWidth = WindowMetric(window, SM_CXVSCROLL) + 1;
    const int buttonHeight = box.height - 2;
    UniqueMemoryBitmap surface(CreateMemoryBitmap(buttonWidth, buttonHeight));
    if (state == kStateHover || state == kStatePressed) {
        const int stripLeft = state == kStateHover ? 0 : kStripWidth;
        DrawSkinPiece(surface.get(), 0, 0, buttonWidth, buttonHeight, ComboButtonImage, stripLeft,
                      0, kStripWidth, kStripHeight, 2, 1, 1, 1);
    } else {
        // The resting look; no caller asks for any other state, and a surface's first
        // content is undefined, so it must not show.
        FillColorRect(surface.get(), 0, 0, buttonWidth, buttonHeight, kBackgroundColour);
    }
    const int arrowTop = IsWindowEnabled(window) ? 0 : kArrowHeight;
    TransparentBlit(surface.get(), CentredOffset(buttonWidth, kArrowWidth),
                    CentredOffset(buttonHeight, kArrowHeight), kArrowWidth, kArrowHeight,
                    ComboButtonImage, 8, arrowTop, kKeyColour);

    std::optional<WindowDc> windowDc;
    if (dc == nullptr) {
        windowDc.emplace(WindowDc::Whole(window));
        dc = windowDc->get();
    }
    BitBlt(dc, box.width - buttonWidth - 1, 1, buttonWidth, buttonHeight, surface.get(), 0, 0,
           SRCCOPY);
}

}  // namespace quenlo::skin
