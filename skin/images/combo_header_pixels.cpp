// ComboButtonImage and HeaderImage: narrow strips whose centre columns are stretched
// over the combo box button and the header items.
#include <cmath>

#include "skin/images/pixel_rules.h"
#include "skin/images/skin_image_pixels.h"

namespace quenlo::skin {
namespace {

// ComboButtonImage ---------------------------------------------------------------

constexpr int kComboHeight = 18;
constexpr COLORREF kComboBorder = RGB(78, 160, 209);

constexpr COLORREF kComboHoverCentre[kComboHeight] = {
    RGB(232, 249, 255), RGB(193, 238, 253), RGB(188, 235, 252), RGB(183, 232, 250),
    RGB(178, 229, 249), RGB(172, 225, 247), RGB(165, 221, 245), RGB(159, 217, 243),
    RGB(152, 213, 241), RGB(145, 209, 239), RGB(138, 205, 238), RGB(131, 201, 236),
    RGB(124, 197, 234), RGB(118, 194, 232), RGB(112, 190, 230), RGB(106, 187, 229),
    RGB(101, 184, 227), RGB(192, 225, 243)};
constexpr COLORREF kComboPressedCentre[kComboHeight] = {
    RGB(190, 225, 243), RGB(97, 181, 226),  RGB(101, 184, 227), RGB(106, 187, 229),
    RGB(112, 190, 230), RGB(118, 194, 232), RGB(124, 197, 234), RGB(131, 201, 236),
    RGB(138, 205, 238), RGB(145, 209, 239), RGB(152, 213, 241), RGB(159, 217, 243),
    RGB(165, 221, 245), RGB(172, 225, 247), RGB(178, 229, 249), RGB(183, 232, 250),
    RGB(188, 235, 252), RGB(230, 248, 254)};

// One strip: border column, a light column either side of the deeper centre line.
// The light columns shade evenly between the centre line's own end colours.
void DrawComboStrip(PixelImage& image, int left, const COLORREF* centre) {
    for (int y = 0; y < kComboHeight; ++y) {
        COLORREF side = Gradient(centre[0], centre[kComboHeight - 1], y, kComboHeight);
        image.set(left, y, kComboBorder);
        image.set(left + 1, y, side);
        image.set(left + 2, y, centre[y]);
        image.set(left + 3, y, side);
    }
}

// A downward arrow in a 7 x 4 cell: rows of 7, 5, 3 and 1 pixels.
void DrawArrow(PixelImage& image, int left, int top, COLORREF colour) {
    for (int row = 0; row < 4; ++row) {
        for (int x = row; x < 7 - row; ++x) {
            image.set(left + x, top + row, colour);
        }
    }
}

// HeaderImage ----------------------------------------------------------------------

constexpr int kHeaderHeight = 20;
constexpr COLORREF kHeaderBottomLine = RGB(192, 218, 242);
constexpr COLORREF kHeaderBrightEdge = RGB(94, 194, 250);
constexpr COLORREF kHeaderDarkEdge = RGB(75, 162, 219);
constexpr COLORREF kHeaderSeparator = RGB(122, 176, 217);

constexpr COLORREF kHeaderNormal[kHeaderHeight] = {
    RGB(234, 245, 254), RGB(233, 244, 254), RGB(232, 243, 253), RGB(230, 242, 253),
    RGB(228, 241, 252), RGB(226, 240, 252), RGB(224, 239, 251), RGB(223, 237, 251),
    RGB(221, 236, 250), RGB(211, 229, 246), RGB(211, 229, 246), RGB(211, 229, 246),
    RGB(211, 229, 246), RGB(211, 229, 246), RGB(211, 229, 246), RGB(211, 229, 246),
    RGB(211, 229, 246), RGB(211, 229, 246), RGB(211, 229, 246), kHeaderBottomLine};
constexpr COLORREF kHeaderHover[kHeaderHeight] = {
    RGB(211, 238, 254), RGB(214, 239, 255), RGB(211, 238, 255), RGB(208, 237, 255),
    RGB(204, 236, 255), RGB(200, 235, 254), RGB(196, 233, 254), RGB(193, 232, 254),
    RGB(189, 231, 254), RGB(175, 225, 253), RGB(174, 224, 253), RGB(174, 225, 253),
    RGB(175, 225, 253), RGB(175, 225, 253), RGB(175, 225, 253), RGB(175, 225, 253),
    RGB(175, 225, 253), RGB(172, 224, 253), RGB(168, 221, 252), kHeaderBottomLine};
constexpr COLORREF kHeaderPressed[kHeaderHeight] = {
    RGB(151, 215, 251), RGB(159, 220, 255), RGB(160, 221, 255), RGB(162, 222, 255),
    RGB(164, 223, 255), RGB(166, 224, 255), RGB(168, 226, 255), RGB(171, 227, 255),
    RGB(173, 229, 255), RGB(176, 231, 255), RGB(179, 232, 255), RGB(182, 234, 255),
    RGB(185, 236, 255), RGB(188, 237, 255), RGB(190, 239, 255), RGB(197, 242, 255),
    RGB(200, 242, 255), RGB(200, 242, 255), RGB(200, 242, 255), kHeaderBottomLine};

// How far a column that is darkest in the middle goes towards its dark colour at a
// row: all the way at rows 9 and 10, fading linearly to 10 % at the top row and
// 20 % at the last row above the bottom line.
double MiddleWeight(int y) {
    double fromMiddle = std::max(0.0, std::abs(y - 9.5) - 0.5);
    return 1.0 - fromMiddle / 9.0 * 0.9;
}

}  // namespace

PixelImage ComboButtonImagePixels() {
    PixelImage image(15, kComboHeight);  // starts as key colour everywhere
    DrawComboStrip(image, 0, kComboHoverCentre);
    DrawComboStrip(image, 4, kComboPressedCentre);
    DrawArrow(image, 8, 0, RGB(25, 85, 95));
    DrawArrow(image, 8, 4, RGB(132, 165, 172));
    return image;
}

// Three 3 x 20 frames, each above the common bottom line:
// - normal: columns 0 and 1 the pale gradient, column 2 the soft item separator;
// - hover: a bright left edge (half-blended with the face at its two ends), the light
//   face, a right edge darkening towards the middle;
// - pressed: a bright left edge that lightens over the lower half towards the face,
//   the light face, a right edge darkening towards the middle.
PixelImage HeaderImagePixels() {
    PixelImage image(9, kHeaderHeight);
    for (int y = 0; y < kHeaderHeight - 1; ++y) {
        double middle = MiddleWeight(y);
        image.set(0, y, kHeaderNormal[y]);
        image.set(1, y, kHeaderNormal[y]);
        image.set(2, y, Mix(kHeaderNormal[y], kHeaderSeparator, middle));

        bool edgeEnd = (y == 0 || y == kHeaderHeight - 2);
        image.set(3, y, edgeEnd ? Mix(kHeaderBrightEdge, kHeaderHover[y], 0.5) : kHeaderBrightEdge);
        image.set(4, y, kHeaderHover[y]);
        image.set(5, y, Mix(kHeaderBrightEdge, kHeaderDarkEdge, middle));

        double lighter = y <= 9 ? 0.0 : (y - 9) / 9.0 * 0.6;
        image.set(6, y, Mix(kHeaderBrightEdge, kHeaderPressed[y], lighter));
        image.set(7, y, kHeaderPressed[y]);
        image.set(8, y, Mix(kHeaderPressed[y], kHeaderDarkEdge, middle));
    }
    for (int x = 0; x < 9; ++x) {
        image.set(x, kHeaderHeight - 1, kHeaderBottomLine);
    }
    return image;
}

}  // namespace quenlo::skin
