// The main window's side of the skin: on when the window loads, off when it unloads,
// and off and on again around each caption change of the start button, whose state
// bitmaps hold the caption they were drawn with.
#pragma once

#include <windows.h>

#include "skin/engine/skin_attachment.h"

namespace quenlo {

inline void ApplyWindowSkin(HWND window) {
    skin::ApplySkin(window);
}

inline void RemoveWindowSkin(HWND window) {
    skin::RemoveSkin(window);
}

}  // namespace quenlo
