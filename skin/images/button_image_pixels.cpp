// ButtonImage: four 7 x 21 frames (normal, hover, pressed, disabled), each a
// rectangle with curved corners and a face shaded in two halves.
//
// Each frame is exactly mirror-symmetric about column 3, so only columns 0 to 3 are
// described:
// - column 3 is the stretched centre column, given in full;
// - the 3 x 3 corner blocks (rows 0-2 and 18-20, columns 0-2) carry the curve: the
//   outline's anti-aliased pixels and the inner edge of the curve;
// - in between, column 0 is the border, column 2 repeats the centre column, and
//   column 1 is the centre column 30 % of the way to white in the quiet frames
//   (normal, disabled) or the bright rim in the lively ones from row 2 to row 18:
//   one colour down the whole body in hover, shaded evenly from its top colour to
//   its bottom one in pressed.
#include "skin/images/pixel_rules.h"
#include "skin/images/skin_image_pixels.h"

namespace quenlo::skin {
namespace {

constexpr int kFrameWidth = 7;
constexpr int kFrameHeight = 21;

constexpr COLORREF kCentre[4][kFrameHeight] = {
    {RGB(27, 143, 213),  RGB(255, 255, 255), RGB(255, 255, 255), RGB(241, 248, 252),
     RGB(238, 246, 251), RGB(234, 244, 251), RGB(230, 242, 251), RGB(226, 240, 250),
     RGB(222, 238, 250), RGB(218, 236, 249), RGB(215, 234, 249), RGB(204, 226, 245),
     RGB(200, 223, 243), RGB(195, 220, 241), RGB(190, 216, 239), RGB(184, 213, 237),
     RGB(180, 210, 235), RGB(177, 208, 234), RGB(176, 207, 233), RGB(204, 224, 241),
     RGB(27, 143, 213)},
    {RGB(27, 143, 213),  RGB(76, 195, 251),  RGB(198, 237, 255), RGB(210, 238, 252),
     RGB(223, 242, 252), RGB(228, 242, 252), RGB(226, 242, 252), RGB(224, 241, 251),
     RGB(221, 240, 251), RGB(219, 238, 251), RGB(217, 237, 251), RGB(203, 228, 247),
     RGB(199, 225, 245), RGB(194, 222, 243), RGB(188, 219, 242), RGB(183, 215, 241),
     RGB(175, 213, 239), RGB(167, 212, 242), RGB(153, 210, 243), RGB(63, 187, 248),
     RGB(27, 143, 213)},
    {RGB(27, 143, 213),  RGB(57, 188, 251),  RGB(134, 204, 243), RGB(159, 212, 243),
     RGB(171, 215, 243), RGB(179, 217, 243), RGB(183, 219, 243), RGB(188, 221, 245),
     RGB(191, 225, 246), RGB(195, 226, 248), RGB(197, 228, 249), RGB(207, 235, 251),
     RGB(209, 236, 251), RGB(212, 237, 252), RGB(214, 238, 252), RGB(214, 239, 252),
     RGB(209, 238, 252), RGB(195, 234, 253), RGB(174, 228, 253), RGB(64, 193, 253),
     RGB(27, 143, 213)},
    {RGB(135, 195, 232), RGB(248, 251, 253), RGB(248, 251, 253), RGB(242, 247, 251),
     RGB(240, 247, 251), RGB(238, 246, 251), RGB(236, 245, 251), RGB(234, 244, 251),
     RGB(232, 243, 251), RGB(230, 242, 250), RGB(229, 241, 250), RGB(223, 237, 248),
     RGB(221, 235, 247), RGB(219, 234, 246), RGB(216, 231, 245), RGB(213, 230, 244),
     RGB(211, 228, 243), RGB(210, 227, 243), RGB(209, 227, 242), RGB(223, 235, 246),
     RGB(135, 195, 232)},
};

struct FrameLook {
    COLORREF border;
    bool rim;  // column 1 is a bright rim rather than a lighter face
    COLORREF rimTop;
    COLORREF rimBottom;
    COLORREF top[3][3];     // rows 0-2, columns 0-2
    COLORREF bottom[3][3];  // rows 18-20, columns 0-2
};

// Corner blocks. Frames 0 to 2 share the outline pixels; their inner pixels blend
// the border with what lies inside (face or rim). Frame 3's pixels are frame 0's
// taken 47 % of the way to white, the proportion that turns the normal border into
// the disabled one, except its outermost corners, which are paler still.
constexpr FrameLook kFrames[4] = {
    {RGB(27, 143, 213),
     false,
     0,
     0,
     {{RGB(191, 225, 249), RGB(107, 179, 227), RGB(44, 151, 216)},
      {RGB(105, 178, 226), RGB(126, 192, 231), RGB(231, 243, 251)},
      {RGB(44, 151, 216), RGB(231, 243, 251), RGB(255, 255, 255)}},
     {{RGB(42, 150, 216), RGB(186, 216, 238), RGB(176, 207, 233)},
      {RGB(96, 174, 225), RGB(118, 186, 229), RGB(186, 216, 238)},
      {RGB(202, 231, 251), RGB(96, 174, 225), RGB(42, 150, 216)}}},
    {RGB(27, 143, 213),
     true,
     RGB(76, 195, 251),
     RGB(76, 195, 251),
     {{RGB(191, 225, 249), RGB(107, 179, 227), RGB(44, 151, 216)},
      {RGB(105, 178, 226), RGB(52, 169, 232), RGB(76, 195, 251)},
      {RGB(44, 151, 216), RGB(76, 195, 251), RGB(198, 237, 255)}},
     {{RGB(42, 150, 216), RGB(76, 195, 251), RGB(153, 210, 243)},
      {RGB(96, 174, 225), RGB(45, 165, 230), RGB(63, 187, 248)},
      {RGB(202, 231, 251), RGB(96, 174, 225), RGB(42, 150, 216)}}},
    {RGB(27, 143, 213),
     true,
     RGB(49, 183, 249),
     RGB(64, 193, 253),
     {{RGB(191, 225, 249), RGB(107, 179, 227), RGB(44, 151, 216)},
      {RGB(105, 178, 226), RGB(38, 163, 231), RGB(57, 188, 251)},
      {RGB(44, 151, 216), RGB(49, 183, 249), RGB(134, 204, 243)}},
     {{RGB(42, 150, 216), RGB(64, 193, 253), RGB(174, 228, 253)},
      {RGB(96, 174, 225), RGB(46, 168, 233), RGB(64, 193, 253)},
      {RGB(202, 231, 251), RGB(96, 174, 225), RGB(42, 150, 216)}}},
    {RGB(135, 195, 232),
     false,
     0,
     0,
     {{RGB(242, 247, 251), RGB(177, 215, 240), RGB(143, 200, 234)},
      {RGB(176, 214, 240), RGB(187, 222, 242), RGB(242, 249, 253)},
      {RGB(143, 200, 234), RGB(242, 249, 253), RGB(248, 251, 253)}},
     {{RGB(142, 199, 234), RGB(218, 234, 246), RGB(209, 227, 242)},
      {RGB(171, 212, 239), RGB(182, 218, 241), RGB(218, 234, 246)},
      {RGB(244, 249, 252), RGB(171, 212, 239), RGB(142, 199, 234)}}},
};

COLORREF LeftHalfPixel(const FrameLook& look, const COLORREF* centre, int x, int y) {
    if (x == 3) {
        return centre[y];
    }
    if (y <= 2) {
        return look.top[y][x];
    }
    if (y >= kFrameHeight - 3) {
        return look.bottom[y - (kFrameHeight - 3)][x];
    }
    switch (x) {
        case 0:
            return look.border;
        case 1:
            return look.rim ? Gradient(look.rimTop, look.rimBottom, y - 2, kFrameHeight - 4)
                            : Mix(centre[y], kWhitePixel, 0.3);
        default:
            return centre[y];
    }
}

}  // namespace

PixelImage ButtonImagePixels() {
    PixelImage image(kFrameWidth, 4 * kFrameHeight);
    for (int frame = 0; frame < 4; ++frame) {
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x <= 3; ++x) {
                COLORREF colour = LeftHalfPixel(kFrames[frame], kCentre[frame], x, y);
                image.set(x, frame * kFrameHeight + y, colour);
                image.set(kFrameWidth - 1 - x, frame * kFrameHeight + y, colour);
            }
        }
    }
    return image;
}

}  // namespace quenlo::skin
