// Windows .ico files holding one picture at several sizes.
#pragma once

#include <cstdint>
#include <vector>

namespace quenlo {

struct IconImage {
    int size = 0;                       // square, 1 to 256 pixels
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, top row first
};

// Images below 256 pixels are stored as 32-bit bitmaps with their AND mask, which every
// Windows reads; 256 as PNG, as Windows Vista and later expect for that size (a bitmap
// would be 270 KB).
std::vector<std::uint8_t> EncodeIco(const std::vector<IconImage>& images);

}  // namespace quenlo
