// Quenlo's icon as a picture: a page of text lines cut across by a dashed line, on a
// blue tile. Standard C++ only, so the build can turn it into an .ico on any machine.
#pragma once

#include <cstdint>
#include <vector>

namespace quenlo {

// size × size pixels, top row first, as 0xAARRGGBB.
std::vector<std::uint32_t> QuenloIconPixels(int size);

}  // namespace quenlo
