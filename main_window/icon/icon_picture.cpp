#include "main_window/icon/icon_picture.h"

#include <cmath>
#include <cstddef>

namespace quenlo {
namespace {

constexpr std::uint32_t kClear = 0x00000000;
constexpr std::uint32_t kTile = 0xFF2F6FB7;
constexpr std::uint32_t kTileEdge = 0xFF1F4F8A;
constexpr std::uint32_t kPage = 0xFFFFFFFF;
constexpr std::uint32_t kTextLine = 0xFF9AA8B8;
constexpr std::uint32_t kCut = 0xFFF08A24;

}  // namespace

// Drawn on a 32-unit grid and scaled, so the 16-pixel icon is the same picture.
std::vector<std::uint32_t> QuenloIconPixels(int size) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size), kClear);
    const double unit = size / 32.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / unit;
            const double v = (y + 0.5) / unit;
            std::uint32_t colour = kClear;
            // Rounded tile: corners of radius 5 left clear.
            const double cx = std::fmax(std::fmax(5.0 - u, u - 27.0), 0.0);
            const double cy = std::fmax(std::fmax(5.0 - v, v - 27.0), 0.0);
            const double corner = std::hypot(cx, cy);
            if (corner <= 5.0) {
                colour = corner > 4.0 || u < 1 || u > 31 || v < 1 || v > 31 ? kTileEdge : kTile;
            }
            // The page, with lines of text.
            if (u >= 8 && u <= 24 && v >= 5 && v <= 27) {
                colour = kPage;
                const int row = static_cast<int>(v);
                if (u >= 10 && u <= 22 && row >= 8 && row <= 24 && row % 3 == 2 && row != 17) {
                    colour = kTextLine;
                }
            }
            // The cut: a dashed line across the middle.
            if (v >= 15.5 && v < 17.5 && static_cast<int>(u) % 4 < 3 && u >= 3 && u <= 29) {
                colour = kCut;
            }
            pixels[static_cast<std::size_t>(y * size + x)] = colour;
        }
    }
    return pixels;
}

}  // namespace quenlo
