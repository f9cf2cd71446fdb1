// The drawing functions all skin painting rests on: off-screen surfaces, nine-part
// grid stretching of skin pieces, and copies that leave out a key colour.
#pragma once

#include <windows.h>
#include <olectl.h>

#include <optional>

#include "skin/common/gdi_handles.h"

namespace quenlo::skin {

// An off-screen surface: a memory DC carrying a display-compatible bitmap of the given
// size for its whole life. 0 when any part cannot be created (nothing is left behind).
// The content starts undefined.
HDC CreateMemoryBitmap(int width, int height);

// Deletes a surface of CreateMemoryBitmap: the DC and the bitmap selected into it.
// DeleteDC alone would leave the bitmap behind.
void DeleteMemoryBitmap(HDC surface);

using UniqueMemoryBitmap = UniqueAny<HDC, DeleteMemoryBitmap>;

// Draws the source rectangle into the destination rectangle as a nine-part grid:
// corners copied as they are, edges stretched along their length, the centre both
// ways. With all margins 0, or a piece too small for its margins, the whole piece is
// stretched. With a key colour, pixels of that colour leave the destination as it
// was. Returns 0 (and draws nothing) when either rectangle has no width or height, or
// a negative one; otherwise the result of the final copy, or 1 with a key colour.
int DrawSkinPiece(HDC destination, int destX, int destY, int destWidth, int destHeight, HDC source,
                  int sourceX, int sourceY, int sourceWidth, int sourceHeight, int leftMargin,
                  int topMargin, int rightMargin, int bottomMargin,
                  std::optional<OLE_COLOR> keyColour = std::nullopt);

// Copies width x height from source to destination, except the pixels of the key
// colour (an OLE colour: RGB or a system-colour reference), under which the
// destination stays. palette 0 means a halftone palette made for the call; a
// caller's palette is used and left to the caller. Draws nothing for a width or
// height of 0 or less.
void TransparentBlit(HDC destination, int destX, int destY, int width, int height, HDC source,
                     int sourceX, int sourceY, OLE_COLOR keyColour, HPALETTE palette = nullptr);

}  // namespace quenlo::skin
