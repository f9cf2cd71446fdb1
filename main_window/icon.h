// The program's icon, drawn in code: a page of text lines cut across by a dashed
// line, on a blue tile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace quenlo {

// size × size pixels, top row first, as 0xAARRGGBB.
std::vector<std::uint32_t> QuenloIconPixels(int size);
HICON CreateQuenloIcon(int size);

}  // namespace quenlo
