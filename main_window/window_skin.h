// The main window's side of the skin: on when the window loads, off when it unloads,
// and off and on again around each caption change of the start button, whose state
// bitmaps hold the caption they were drawn with.
#pragma once

#include <windows.h>

#ifdef QUENLO_WITH_SKIN
#include "skin/engine/skin_attachment.h"
#endif

namespace quenlo {

inline void ApplyWindowSkin(HWND window) {
#ifdef QUENLO_WITH_SKIN
    skin::ApplySkin(window);
#else
    (void)window;
#endif
}

inline void RemoveWindowSkin(HWND window) {
#ifdef QUENLO_WITH_SKIN
    skin::RemoveSkin(window);
#else
    (void)window;
#endif
}

}  // namespace quenlo
