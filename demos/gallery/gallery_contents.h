// What the gallery's controls show at start: marks, list items, columns, positions.
#pragma once

#include <windows.h>

namespace quenlo::gallery {

// Fills the controls of a freshly created gallery window; widths of columns and
// header items are given at 96 dpi and scaled to dpi.
void FillGalleryContents(HWND gallery, int dpi);

}  // namespace quenlo::gallery
