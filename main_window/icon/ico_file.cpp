#include "main_window/icon/ico_file.h"

#include <cstddef>

#include "main_window/icon/png_encoding.h"

namespace quenlo {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint32_t kBitmapHeaderSize = 40;
constexpr int kLargestBitmap = 255;

void PutU16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(Bytes& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// A BITMAPINFOHEADER whose height covers colour and mask, the colour rows as BGRA
// bottom-up, then the mask rows (a set bit is transparent), each padded to 32 bits.
Bytes IconBitmap(const IconImage& image) {
    const int size = image.size;
    const std::size_t maskStride = (static_cast<std::size_t>(size) + 31) / 32 * 4;
    const std::size_t colourBytes = static_cast<std::size_t>(size) * size * 4;
    const std::size_t maskBytes = maskStride * size;
    Bytes out;
    out.reserve(kBitmapHeaderSize + colourBytes + maskBytes);
    PutU32(out, kBitmapHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(size));
    PutU32(out, static_cast<std::uint32_t>(size * 2));
    PutU16(out, 1);   // planes
    PutU16(out, 32);  // bits a pixel
    PutU32(out, 0);   // BI_RGB
    PutU32(out, static_cast<std::uint32_t>(colourBytes + maskBytes));
    for (int i = 0; i < 4; ++i) {
        PutU32(out, 0);  // resolution and palette: unused
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            PutU32(out, image.pixels[static_cast<std::size_t>(y) * size + x]);
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < size; ++x) {
            if ((image.pixels[static_cast<std::size_t>(y) * size + x] >> 24) == 0) {
                row[static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

Bytes EncodeIco(const std::vector<IconImage>& images) {
    std::vector<Bytes> data;
    for (const IconImage& image : images) {
        data.push_back(image.size > kLargestBitmap
                           ? EncodePng(image.size, image.size, image.pixels, PngChannels::Rgba)
                           : IconBitmap(image));
    }
    Bytes out;
    PutU16(out, 0);  // reserved
    PutU16(out, 1);  // an icon, not a cursor
    PutU16(out, static_cast<std::uint32_t>(images.size()));
    std::size_t offset = kDirectorySize + kEntrySize * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto side = static_cast<std::uint8_t>(images[i].size & 0xFF);  // 256 is written 0
        out.insert(out.end(), {side, side, 0, 0});  // width, height, no palette, reserved
        PutU16(out, 1);                             // planes
        PutU16(out, 32);                            // bits a pixel
        PutU32(out, static_cast<std::uint32_t>(data[i].size()));
        PutU32(out, static_cast<std::uint32_t>(offset));
        offset += data[i].size();
    }
    for (const Bytes& image : data) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

}  // namespace quenlo
