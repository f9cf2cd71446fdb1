// What the gallery's controls show at start: marks, list items, columns, positions.
#pragma once

#include <windows.h>

namespace quenlo::gallery {

// Fills the controls of a freshly created gallery window.
void FillGalleryContents(HWND gallery);

}  // namespace quenlo::gallery
