#include "skin/painting/check_painters.h"

#include "skin/common/gdi_handles.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin/registry/window_queries.h"
#include "skin/images/skin_blit.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {
namespace {

struct GlyphSpot {
    int cx;  // box or circle size, as the system reports it on this call
    int cy;
    int top;       // of the box or circle in the window
    LRESULT mark;  // BM_GETCHECK
    bool enabled;
};

// Remembers the state; false when the call is to be skipped.
bool TakeState(HWND window, int state, bool force) {
    if (GetSkinProp<int>(window, kPropOldState) == state && !force) {
        return false;
    }
    SetSkinProp(window, kPropOldState, state);
    return true;
}

GlyphSpot MeasureGlyph(HWND window) {
    WindowBox box;
    GetWindowSize(window, box);
    GlyphSpot spot{};
    spot.cx = WindowMetric(window, SM_CXMENUCHECK);
    spot.cy = WindowMetric(window, SM_CYMENUCHECK);
    spot.top = CentredOffset(box.height, spot.cy);
    spot.mark = SendMessageA(window, BM_GETCHECK, 0, 0);
    spot.enabled = IsWindowEnabled(window) != FALSE;
    return spot;
}

}  // namespace

int PaintCheckBox(HWND window, int state, bool force) {
    if (!TakeState(window, state, force)) {
        return 0;
    }
    const GlyphSpot spot = MeasureGlyph(window);
    UniqueMemoryBitmap surface(CreateMemoryBitmap(spot.cx, spot.cy));
    HDC box = surface.get();
    FillColorRect(box, 0, 0, spot.cx, spot.cy, kBackgroundColour);
    if (spot.enabled) {
        FrameColorRect(box, 0, 0, spot.cx, spot.cy,
                       state == kStatePressed ? kPressedCheckFrameColour : kBorderColour);
        if (state == kStateHover || state == kStatePressed) {
            // The light inside of the hover or pressed circle.
            const int pieceTop = state == kStateHover ? 17 : 30;
            StretchBlt(box, 1, 1, spot.cx - 2, spot.cy - 2, OptionImage, 1, pieceTop, 11, 5,
                       SRCCOPY);
        }
    } else {
        FrameColorRect(box, 0, 0, spot.cx, spot.cy, kDisabledBorderColour);
    }
    const int cellLeft = spot.enabled ? 0 : 9;
    if (spot.mark == BST_CHECKED) {
        TransparentBlit(box, CentredOffset(spot.cx, 9), CentredOffset(spot.cy, 8), 9, 8, MarkImage,
                        cellLeft, 0, kKeyColour);
    } else if (spot.mark == BST_INDETERMINATE) {
        TransparentBlit(box, CentredOffset(spot.cx, 7), CentredOffset(spot.cy, 7), 7, 7, MarkImage,
                        cellLeft + 1, 9, kKeyColour);
    }
    WindowDc windowDc = WindowDc::Whole(window);
    BitBlt(windowDc.get(), 0, spot.top, spot.cx, spot.cy, box, 0, 0, SRCCOPY);
    return 1;
}

int PaintOptionButton(HWND window, int state, bool force) {
    if (!TakeState(window, state, force)) {
        return 0;
    }
    const GlyphSpot spot = MeasureGlyph(window);
    // Straight into the window: the circle's keyed corners let the background the
    // system has just painted show through.
    WindowDc windowDc = WindowDc::Whole(window);
    const bool knownState = state >= kStateNormal && state <= kStatePressed;
    if (!spot.enabled || knownState) {
        const int frame = spot.enabled ? state : kStateDisabled;
        DrawSkinPiece(windowDc.get(), 0, spot.top, spot.cx, spot.cy, OptionImage, 0, 13 * frame, 13,
                      13, 5, 5, 5, 5, kKeyColour);
    }
    if (spot.mark == BST_CHECKED) {
        TransparentBlit(windowDc.get(), CentredOffset(spot.cx, 5),
                        spot.top + CentredOffset(spot.cy, 5), 5, 5, MarkImage,
                        spot.enabled ? 2 : 11, 18, kKeyColour);
    }
    return 1;
}

}  // namespace quenlo::skin
