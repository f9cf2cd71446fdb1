#include "main_window/icon.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "main_window/icon/icon_picture.h"

namespace quenlo {

HICON CreateQuenloIcon(int size) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size;  // top-down, like the pixel rows
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;

    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour) {
        return nullptr;
    }
    const auto pixels = QuenloIconPixels(size);
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
    // With an alpha channel the mask is only consulted by old displays: all opaque.
    const std::vector<BYTE> opaque(static_cast<std::size_t>((size + 15) / 16 * 2 * size), 0);
    const HBITMAP mask = CreateBitmap(size, size, 1, 1, opaque.data());

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    const HICON icon = CreateIconIndirect(&info);  // copies both bitmaps
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

}  // namespace quenlo
