// The gallery: one skinned window that holds one of each control the skin treats, so
// that every painter and handler of the skin runs live where a person or a test can
// watch it. A button opens a message box and another the open-file dialog, both owned
// by the window and so skinned as they appear.
//
// Usable in-process: create the window on the calling thread, find its controls by
// their stable names (gallery_layout.h), drive them, destroy the window.
#pragma once

#include <windows.h>

#include "demos/gallery/gallery_layout.h"

namespace quenlo::gallery {

struct GalleryOptions {
    int showCommand = SW_SHOWNORMAL;
    bool quitOnDestroy = false;  // post WM_QUIT when the window is gone (the program)
    int dpi = 0;                 // 0: the DPI of the monitor the window opens on
};

// Creates the window with all its controls, applies the skin, shows it and puts the
// focus on ButtonFocus. Null when the window or a control class could not be made.
HWND CreateGalleryWindow(const GalleryOptions& options = {});

// The window of a control of the gallery; null for a window that is not the gallery.
HWND GalleryControlWindow(HWND gallery, GalleryControl id);

}  // namespace quenlo::gallery
