#include "skin/images/skin_blit.h"

#include <algorithm>

namespace quenlo::skin {
namespace {

constexpr DWORD kDestAndNotSource = 0x00220326;  // DSna: no named constant of its own
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

UniqueHdc OpenDisplayDc() {
    return UniqueHdc(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
}

// The nine pieces of the grid, in drawing order: corners first, then edges, then the
// centre. Pieces whose size comes out empty or negative (a destination narrower than
// its margins) are left out rather than drawn mirrored.
void ComposeNineGrid(HDC work, int W, int H, HDC source, int sx, int sy, int w, int h, int l, int t,
                     int r, int b) {
    auto copy = [&](int dx, int dy, int width, int height, int fromX, int fromY) {
        if (width > 0 && height > 0) {
            BitBlt(work, dx, dy, width, height, source, fromX, fromY, SRCCOPY);
        }
    };
    auto stretch = [&](int dx, int dy, int dw, int dh, int fromX, int fromY, int fw, int fh) {
        if (dw > 0 && dh > 0 && fw > 0 && fh > 0) {
            StretchBlt(work, dx, dy, dw, dh, source, fromX, fromY, fw, fh, SRCCOPY);
        }
    };
    if (l > 0 && t > 0) {
        copy(0, 0, l, t, sx, sy);
    }
    if (r > 0 && t > 0) {
        copy(W - r, 0, r, t, sx + w - r, sy);
    }
    if (l > 0 && b > 0) {
        copy(0, H - b, l, b, sx, sy + h - b);
    }
    if (r > 0 && b > 0) {
        copy(W - r, H - b, r, b, sx + w - r, sy + h - b);
    }
    if (l > 0) {
        stretch(0, t, l, H - t - b, sx, sy + t, l, h - t - b);
    }
    if (r > 0) {
        stretch(W - r, t, r, H - t - b, sx + w - r, sy + t, r, h - t - b);
    }
    if (t > 0) {
        stretch(l, 0, W - l - r, t, sx + l, sy, w - l - r, t);
    }
    if (b > 0) {
        stretch(l, H - b, W - l - r, b, sx + l, sy + h - b, w - l - r, b);
    }
    stretch(l, t, W - l - r, H - t - b, sx + l, sy + t, w - l - r, h - t - b);
}

// Whether the source piece can give every part of the grid: its margins inside it,
// and a middle to stretch wherever the destination has one. Otherwise the grid would
// leave the work surface's undefined pixels showing (or copy from beyond the piece).
bool PieceHoldsItsGrid(int W, int H, int w, int h, int l, int t, int r, int b) {
    auto fits = [](int destination, int source, int first, int last) {
        const int margins = std::max(first, 0) + std::max(last, 0);
        return source > margins || (source == margins && destination <= margins);
    };
    return fits(W, w, l, r) && fits(H, h, t, b);
}

}  // namespace

HDC CreateMemoryBitmap(int width, int height) {
    UniqueHdc display = OpenDisplayDc();
    if (!display) {
        return nullptr;
    }
    UniqueHdc memory(CreateCompatibleDC(display.get()));
    if (!memory) {
        return nullptr;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(display.get(), width, height);
    if (bitmap == nullptr) {
        return nullptr;
    }
    // The DC's initial 1 x 1 placeholder is a stock object: nothing to delete.
    SelectObject(memory.get(), bitmap);
    return memory.release();
}

void DeleteMemoryBitmap(HDC surface) {
    if (surface == nullptr) {
        return;
    }
    HGDIOBJ bitmap = GetCurrentObject(surface, OBJ_BITMAP);
    DeleteDC(surface);
    // Deselected by DeleteDC, so it can go now (a stock bitmap ignores this).
    DeleteObject(bitmap);
}

int DrawSkinPiece(HDC destination, int destX, int destY, int destWidth, int destHeight, HDC source,
                  int sourceX, int sourceY, int sourceWidth, int sourceHeight, int leftMargin,
                  int topMargin, int rightMargin, int bottomMargin,
                  std::optional<OLE_COLOR> keyColour) {
    if (destWidth <= 0 || destHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return 0;
    }
    UniqueMemoryBitmap work(CreateMemoryBitmap(destWidth, destHeight));
    // Shrinking in the default mode would AND neighbouring rows together and darken
    // the picture; dropping rows keeps the skin's colours.
    SetStretchBltMode(work.get(), COLORONCOLOR);
    if (leftMargin <= 0 && topMargin <= 0 && rightMargin <= 0 && bottomMargin <= 0) {
        StretchBlt(work.get(), 0, 0, destWidth, destHeight, source, sourceX + leftMargin,
                   sourceY + topMargin, sourceWidth - rightMargin, sourceHeight - bottomMargin,
                   SRCCOPY);
    } else if (!PieceHoldsItsGrid(destWidth, destHeight, sourceWidth, sourceHeight, leftMargin,
                                  topMargin, rightMargin, bottomMargin)) {
        StretchBlt(work.get(), 0, 0, destWidth, destHeight, source, sourceX, sourceY, sourceWidth,
                   sourceHeight, SRCCOPY);
    } else {
        ComposeNineGrid(work.get(), destWidth, destHeight, source, sourceX, sourceY, sourceWidth,
                        sourceHeight, leftMargin, topMargin, rightMargin, bottomMargin);
    }
    if (!keyColour) {
        return BitBlt(destination, destX, destY, destWidth, destHeight, work.get(), 0, 0, SRCCOPY);
    }
    TransparentBlit(destination, destX, destY, destWidth, destHeight, work.get(), 0, 0, *keyColour);
    return 1;
}

void TransparentBlit(HDC destination, int destX, int destY, int width, int height, HDC source,
                     int sourceX, int sourceY, OLE_COLOR keyColour, HPALETTE palette) {
    if (width <= 0 || height <= 0) {
        return;  // a negative size would mirror the copies
    }
    // Declared in order of acquisition so that they are released in reverse: guards
    // put the previous objects back before their DCs go, DCs go before their bitmaps,
    // the palette and the display DC last.
    UniqueHdc display = OpenDisplayDc();
    UniqueHpalette halftone;
    if (palette == nullptr) {
        halftone.reset(CreateHalftonePalette(display.get()));
        palette = halftone.get();
    }
    COLORREF key = 0;
    OleTranslateColor(keyColour, palette, &key);
    key &= 0x00FFFFFF;

    // A copy of the destination to compose in.
    UniqueHbitmap destBitmap(CreateCompatibleBitmap(display.get(), width, height));
    UniqueHdc destCopy(CreateCompatibleDC(display.get()));
    SelectObjectGuard destSelect(destCopy.get(), destBitmap.get());
    SelectPaletteGuard destPalette(destCopy.get(), palette);
    BitBlt(destCopy.get(), 0, 0, width, height, destination, destX, destY, SRCCOPY);

    // A copy of the source, and a monochrome mask: 1 where the source has the key.
    UniqueHbitmap sourceBitmap(CreateCompatibleBitmap(display.get(), width, height));
    UniqueHbitmap maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    UniqueHdc sourceCopy(CreateCompatibleDC(display.get()));
    SelectObjectGuard sourceSelect(sourceCopy.get(), sourceBitmap.get());
    SelectPaletteGuard sourcePalette(sourceCopy.get(), palette);
    SetBkColor(sourceCopy.get(), GetBkColor(source));
    SetTextColor(sourceCopy.get(), GetTextColor(source));
    BitBlt(sourceCopy.get(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);

    UniqueHdc maskDc(CreateCompatibleDC(display.get()));
    SelectObjectGuard maskSelect(maskDc.get(), maskBitmap.get());
    SetBkColor(sourceCopy.get(), key);  // colour-to-mono: the background colour gives 1
    SetTextColor(sourceCopy.get(), kWhite);
    BitBlt(maskDc.get(), 0, 0, width, height, sourceCopy.get(), 0, 0, SRCCOPY);

    // Black out the key pixels of the source, and the picture's pixels of the
    // destination; OR-ing the two then puts the picture over the kept background.
    SetTextColor(sourceCopy.get(), kBlack);
    SetBkColor(sourceCopy.get(), kWhite);
    BitBlt(sourceCopy.get(), 0, 0, width, height, maskDc.get(), 0, 0, kDestAndNotSource);
    BitBlt(destCopy.get(), 0, 0, width, height, maskDc.get(), 0, 0, SRCAND);
    BitBlt(destCopy.get(), 0, 0, width, height, sourceCopy.get(), 0, 0, SRCPAINT);

    BitBlt(destination, destX, destY, width, height, destCopy.get(), 0, 0, SRCCOPY);
}

}  // namespace quenlo::skin
