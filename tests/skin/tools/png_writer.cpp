#include "png_writer.h"

#include <array>
#include <cstdint>
#include <fstream>

#include "test_windows.h"

namespace quenlo::skin {
namespace {

using Bytes = std::vector<unsigned char>;

uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

void PutU32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    PutU32(out, static_cast<uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutU32(out, Crc32(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes ZlibStored(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    size_t offset = 0;
    do {
        size_t length = std::min<size_t>(raw.size() - offset, 65535);
        bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<unsigned char>(length));
        out.push_back(static_cast<unsigned char>(length >> 8));
        out.push_back(static_cast<unsigned char>(~length));
        out.push_back(static_cast<unsigned char>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<long>(offset),
                   raw.begin() + static_cast<long>(offset + length));
        offset += length;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutU32(out, (b << 16) | a);
    return out;
}

}  // namespace

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
    Bytes raw;
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < picture.width; ++x) {
            COLORREF c = picture.pixels[static_cast<size_t>(y * picture.width + x)];
            raw.push_back(GetRValue(c));
            raw.push_back(GetGValue(c));
            raw.push_back(GetBValue(c));
        }
    }
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutU32(header, static_cast<uint32_t>(picture.width));
    PutU32(header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStored(raw));
    PutChunk(png, "IEND", {});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}

}  // namespace quenlo::skin
