// PNG files of 8-bit RGB or RGBA pictures, deflated with zlib.
#pragma once

#include <cstdint>
#include <vector>

namespace quenlo {

enum class PngChannels { Rgb, Rgba };

// pixels: width × height values 0xAARRGGBB, top row first. Rgb drops the alpha.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint32_t>& pixels,
                                    PngChannels channels);

}  // namespace quenlo
