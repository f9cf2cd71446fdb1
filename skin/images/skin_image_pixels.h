// The pixels of the five skin images, as data: the colours and shapes the skin is
// made of, computed without any device context so they can be read and checked
// apart from drawing.
#pragma once

#include <windows.h>

#include <vector>

namespace quenlo::skin {

inline constexpr COLORREF kKeyColour = RGB(255, 0, 255);

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top, left to right

    PixelImage(int w, int h)
        : width(w), height(h), pixels(static_cast<size_t>(w * h), kKeyColour) {}
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    void set(int x, int y, COLORREF colour) { pixels[static_cast<size_t>(y * width + x)] = colour; }
};

PixelImage ButtonImagePixels();       // 7 x 84: frames of 7 x 21 for states 0..3
PixelImage ComboButtonImagePixels();  // 15 x 18: hover and pressed strips, two arrows
PixelImage MarkImagePixels();         // 18 x 24: check marks, grey squares, option dots
PixelImage OptionImagePixels();       // 13 x 52: circles of 13 x 13 for states 0..3
PixelImage HeaderImagePixels();       // 9 x 20: item frames normal, hover, pressed

}  // namespace quenlo::skin
