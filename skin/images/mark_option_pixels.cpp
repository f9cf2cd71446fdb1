// MarkImage and OptionImage: the glyphs of check boxes and option buttons.
#include <cmath>
#include <string_view>

#include "skin/images/pixel_rules.h"
#include "skin/images/skin_image_pixels.h"

namespace quenlo::skin {
namespace {

// MarkImage ------------------------------------------------------------------------

constexpr std::string_view kCheckShape[8] = {
    "........#",  //
    ".......##",  //
    "......###",  //
    "##...###.",  //
    "###.###..",  //
    ".#####...",  //
    "..###....",  //
    "...#.....",  //
};

// The option dot: '#' the centre colour of its row, and lighter anti-aliased edge
// pixels where the disc covers less of the pixel: 't' beside the top and bottom
// centre, 'd' on the diagonals, 's' at the middle of the sides.
constexpr std::string_view kDotShape[5] = {
    ".t#t.",  //
    "d###d",  //
    "s###s",  //
    "d###d",  //
    ".t#t.",  //
};
// 't' is 26.15 % of the way to white: the share that turns the top centre colour
// into the stated RGB(135,204,96) beside it.
constexpr double kDotTopEdgeLight = 0.2615;
constexpr double kDotDiagonalLight = 0.35;
constexpr double kDotSideLight = 0.15;

struct MarkColours {
    COLORREF checkTop, checkBottom;
    COLORREF squareTop, squareBottom;
    COLORREF dotTop, dotBottom;
};
constexpr MarkColours kEnabledMarks = {RGB(84, 183, 29), RGB(53, 145, 2),  RGB(81, 180, 27),
                                       RGB(57, 150, 6),  RGB(92, 186, 40), RGB(64, 153, 16)};
constexpr MarkColours kDisabledMarks = {RGB(168, 218, 140), RGB(152, 199, 126), RGB(166, 217, 139),
                                        RGB(154, 201, 128), RGB(173, 220, 147), RGB(156, 203, 130)};

void DrawMarks(PixelImage& image, int left, const MarkColours& colours) {
    for (int y = 0; y < 8; ++y) {
        COLORREF colour = Gradient(colours.checkTop, colours.checkBottom, y, 8);
        for (int x = 0; x < 9; ++x) {
            if (kCheckShape[y][x] == '#') {
                image.set(left + x, y, colour);
            }
        }
    }
    for (int y = 0; y < 7; ++y) {
        COLORREF colour = Gradient(colours.squareTop, colours.squareBottom, y, 7);
        for (int x = 0; x < 7; ++x) {
            image.set(left + 1 + x, 9 + y, colour);
        }
    }
    for (int y = 0; y < 5; ++y) {
        COLORREF centre = Gradient(colours.dotTop, colours.dotBottom, y, 5);
        for (int x = 0; x < 5; ++x) {
            double light = 0.0;
            switch (kDotShape[y][x]) {
                case '.':
                    continue;
                case 't':
                    light = kDotTopEdgeLight;
                    break;
                case 'd':
                    light = kDotDiagonalLight;
                    break;
                case 's':
                    light = kDotSideLight;
                    break;
                default:
                    break;
            }
            image.set(left + 2 + x, 18 + y, Mix(centre, kWhitePixel, light));
        }
    }
}

// OptionImage ----------------------------------------------------------------------

constexpr int kCircle = 13;

// The columns each row of the circle covers, from the first to the last; the rest
// of the row is key colour.
constexpr int kCircleFirstColumn[kCircle] = {3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3};

struct OptionLook {
    COLORREF ring;
    int fill;  // which fill rule below
};
constexpr OptionLook kOptionLooks[4] = {{RGB(131, 166, 210), 0},
                                        {RGB(131, 166, 210), 1},
                                        {RGB(100, 137, 193), 2},
                                        {RGB(193, 210, 232), 3}};

// The fill inside the ring, by frame:
// 0, 3: white, shaded towards the top (full shade down to row 3, white from row 9), so
//       the frame stays symmetric left to right;
// 1:    diagonal, from the upper left (x + y <= 6) to the lower right (x + y >= 18);
// 2:    diagonal, from the lower left (x - y <= -6) to the upper right (x - y >= 6).
COLORREF OptionFill(int fill, int x, int y) {
    switch (fill) {
        case 0:
            return Mix(kWhitePixel, RGB(237, 242, 247), Clamp01((9.0 - y) / 6.0));
        case 1:
            return Mix(RGB(195, 234, 248), RGB(223, 245, 253), Clamp01((x + y - 6) / 12.0));
        case 2:
            return Mix(RGB(173, 225, 245), RGB(205, 239, 250), Clamp01((x - y + 6) / 12.0));
        default:
            return Mix(kWhitePixel, RGB(246, 248, 251), Clamp01((9.0 - y) / 6.0));
    }
}

// The ring is a line of radius 6 round the centre of the 13 x 13 cell. A pixel takes
// the ring colour in proportion to how close its centre lies to that line: inwards
// it fades into the fill within one pixel, outwards into white within 0.9 pixel (the
// outside is keyed, and white keeps the curve soft on the light backgrounds the
// skin uses). The four pixels where the circle meets its box lie exactly on the
// line, so they carry the pure, darkest ring colour.
COLORREF OptionPixel(const OptionLook& look, int x, int y) {
    double distance = std::hypot(x - 6.0, y - 6.0);
    if (distance >= 6.0) {
        return Mix(look.ring, kWhitePixel, Clamp01((distance - 6.0) / 0.9));
    }
    return Mix(look.ring, OptionFill(look.fill, x, y), Clamp01(6.0 - distance));
}

}  // namespace

PixelImage MarkImagePixels() {
    PixelImage image(18, 24);  // starts as key colour everywhere
    DrawMarks(image, 0, kEnabledMarks);
    DrawMarks(image, 9, kDisabledMarks);
    return image;
}

PixelImage OptionImagePixels() {
    PixelImage image(kCircle, 4 * kCircle);
    for (int frame = 0; frame < 4; ++frame) {
        for (int y = 0; y < kCircle; ++y) {
            int first = kCircleFirstColumn[y];
            for (int x = first; x < kCircle - first; ++x) {
                image.set(x, frame * kCircle + y, OptionPixel(kOptionLooks[frame], x, y));
            }
        }
    }
    return image;
}

}  // namespace quenlo::skin
