#include "png_writer.h"

#include <fstream>

#include "main_window/icon/png_encoding.h"
#include "test_windows.h"

namespace quenlo::skin {

Picture ScaleUp(const Picture& picture, int scale) {
    Picture big{picture.width * scale, picture.height * scale, {}};
    big.pixels.resize(static_cast<size_t>(big.width * big.height));
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x) {
            big.pixels[static_cast<size_t>(y * big.width + x)] =
                picture.pixels[static_cast<size_t>((y / scale) * picture.width + x / scale)];
        }
    }
    return big;
}

Picture ReadPicture(HDC source, int x, int y, int width, int height) {
    PixelGrid grid(source, x, y, width, height);
    Picture picture{width, height, {}};
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            picture.pixels.push_back(grid.at(column, row));
        }
    }
    return picture;
}

bool WritePng(const std::string& path, const Picture& picture) {
    std::vector<std::uint32_t> argb;
    argb.reserve(picture.pixels.size());
    for (COLORREF c : picture.pixels) {
        argb.push_back(static_cast<std::uint32_t>(GetRValue(c)) << 16 |
                       static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c));
    }
    const std::vector<std::uint8_t> png =
        EncodePng(picture.width, picture.height, argb, PngChannels::Rgb);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}

}  // namespace quenlo::skin
