// What every painter draws with: text, filled and framed rectangles, the focus
// rectangle (each taking left, top, width, height), a window's measurements, the
// painter colours and the centring rule.
#pragma once

#include <windows.h>

#include <string_view>

#include "skin/common/rounding.h"
#include "skin/images/skin_image_pixels.h"

namespace quenlo::skin {

// The painters' colours; the skin images bring their own.
inline constexpr COLORREF kBorderColour = RGB(84, 165, 213);
inline constexpr COLORREF kDisabledBorderColour = RGB(164, 207, 233);
inline constexpr COLORREF kPressedCheckFrameColour = RGB(57, 134, 196);
inline constexpr COLORREF kProgressFillColour = RGB(76, 214, 246);
inline constexpr COLORREF kDisabledCaptionColour = RGB(121, 138, 150);
inline constexpr COLORREF kCaptionColour = RGB(0, 0, 0);
inline constexpr COLORREF kBackgroundColour = RGB(255, 255, 255);
// kKeyColour comes with the skin images.

// One line, centred both ways, cut with an ellipsis at its end; "&" underlines the
// next character and "&&" shows one ampersand. Every caller uses exactly this.
inline constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
static_assert(kTextFormat == 32805);

// A window rectangle in screen coordinates, with its size.
struct WindowBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
};

// The offset that centres a piece in the space available, halves to the even
// neighbour: (13 - 8) / 2 gives 2, (18 - 7) / 2 gives 6.
inline int CentredOffset(int available, int piece) {
    return RoundHalfEven((available - piece) / 2.0);
}

// Draws ANSI text (up to its first NUL) in the DC's current font, colour and
// background mode. Returns the text's height (as DrawText does), 0 on failure.
int DrawTextIn(HDC dc, std::string_view text, int left, int top, int width, int height,
               UINT format);

// Fill and one-pixel frame in a solid colour. A width or height of 0 or less draws
// nothing and returns 0; otherwise FillRect's or FrameRect's result.
int FillColorRect(HDC dc, int left, int top, int width, int height, COLORREF colour);
int FrameColorRect(HDC dc, int left, int top, int width, int height, COLORREF colour);

// The dotted focus rectangle, drawn by inverting: a second call removes it.
int DrawFocusBox(HDC dc, int left, int top, int width, int height);

// Fills box from GetWindowRect; all zeros and result 0 when that fails.
int GetWindowSize(HWND window, WindowBox& box);

}  // namespace quenlo::skin
