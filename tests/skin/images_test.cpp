#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "skin/registry/skin_state.h"
#include "skin/images/skin_blit.h"
#include "skin/images/skin_images.h"
#include "test_windows.h"

namespace quenlo::skin {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kButtonBorder = RGB(27, 143, 213);
constexpr COLORREF kButtonDisabledBorder = RGB(135, 195, 232);

// Centre columns, row by row, as the skin's look prescribes them.
// ButtonImage: column 3 of each frame.
constexpr COLORREF kButtonCentres[21][4] = {
    {RGB(27, 143, 213), RGB(27, 143, 213), RGB(27, 143, 213), RGB(135, 195, 232)},
    {RGB(255, 255, 255), RGB(76, 195, 251), RGB(57, 188, 251), RGB(248, 251, 253)},
    {RGB(255, 255, 255), RGB(198, 237, 255), RGB(134, 204, 243), RGB(248, 251, 253)},
    {RGB(241, 248, 252), RGB(210, 238, 252), RGB(159, 212, 243), RGB(242, 247, 251)},
    {RGB(238, 246, 251), RGB(223, 242, 252), RGB(171, 215, 243), RGB(240, 247, 251)},
    {RGB(234, 244, 251), RGB(228, 242, 252), RGB(179, 217, 243), RGB(238, 246, 251)},
    {RGB(230, 242, 251), RGB(226, 242, 252), RGB(183, 219, 243), RGB(236, 245, 251)},
    {RGB(226, 240, 250), RGB(224, 241, 251), RGB(188, 221, 245), RGB(234, 244, 251)},
    {RGB(222, 238, 250), RGB(221, 240, 251), RGB(191, 225, 246), RGB(232, 243, 251)},
    {RGB(218, 236, 249), RGB(219, 238, 251), RGB(195, 226, 248), RGB(230, 242, 250)},
    {RGB(215, 234, 249), RGB(217, 237, 251), RGB(197, 228, 249), RGB(229, 241, 250)},
    {RGB(204, 226, 245), RGB(203, 228, 247), RGB(207, 235, 251), RGB(223, 237, 248)},
    {RGB(200, 223, 243), RGB(199, 225, 245), RGB(209, 236, 251), RGB(221, 235, 247)},
    {RGB(195, 220, 241), RGB(194, 222, 243), RGB(212, 237, 252), RGB(219, 234, 246)},
    {RGB(190, 216, 239), RGB(188, 219, 242), RGB(214, 238, 252), RGB(216, 231, 245)},
    {RGB(184, 213, 237), RGB(183, 215, 241), RGB(214, 239, 252), RGB(213, 230, 244)},
    {RGB(180, 210, 235), RGB(175, 213, 239), RGB(209, 238, 252), RGB(211, 228, 243)},
    {RGB(177, 208, 234), RGB(167, 212, 242), RGB(195, 234, 253), RGB(210, 227, 243)},
    {RGB(176, 207, 233), RGB(153, 210, 243), RGB(174, 228, 253), RGB(209, 227, 242)},
    {RGB(204, 224, 241), RGB(63, 187, 248), RGB(64, 193, 253), RGB(223, 235, 246)},
    {RGB(27, 143, 213), RGB(27, 143, 213), RGB(27, 143, 213), RGB(135, 195, 232)},
};
// HeaderImage: the centre column of each frame.
constexpr COLORREF kHeaderCentres[20][3] = {
    {RGB(234, 245, 254), RGB(211, 238, 254), RGB(151, 215, 251)},
    {RGB(233, 244, 254), RGB(214, 239, 255), RGB(159, 220, 255)},
    {RGB(232, 243, 253), RGB(211, 238, 255), RGB(160, 221, 255)},
    {RGB(230, 242, 253), RGB(208, 237, 255), RGB(162, 222, 255)},
    {RGB(228, 241, 252), RGB(204, 236, 255), RGB(164, 223, 255)},
    {RGB(226, 240, 252), RGB(200, 235, 254), RGB(166, 224, 255)},
    {RGB(224, 239, 251), RGB(196, 233, 254), RGB(168, 226, 255)},
    {RGB(223, 237, 251), RGB(193, 232, 254), RGB(171, 227, 255)},
    {RGB(221, 236, 250), RGB(189, 231, 254), RGB(173, 229, 255)},
    {RGB(211, 229, 246), RGB(175, 225, 253), RGB(176, 231, 255)},
    {RGB(211, 229, 246), RGB(174, 224, 253), RGB(179, 232, 255)},
    {RGB(211, 229, 246), RGB(174, 225, 253), RGB(182, 234, 255)},
    {RGB(211, 229, 246), RGB(175, 225, 253), RGB(185, 236, 255)},
    {RGB(211, 229, 246), RGB(175, 225, 253), RGB(188, 237, 255)},
    {RGB(211, 229, 246), RGB(175, 225, 253), RGB(190, 239, 255)},
    {RGB(211, 229, 246), RGB(175, 225, 253), RGB(197, 242, 255)},
    {RGB(211, 229, 246), RGB(175, 225, 253), RGB(200, 242, 255)},
    {RGB(211, 229, 246), RGB(172, 224, 253), RGB(200, 242, 255)},
    {RGB(211, 229, 246), RGB(168, 221, 252), RGB(200, 242, 255)},
    {RGB(192, 218, 242), RGB(192, 218, 242), RGB(192, 218, 242)},
};
// ComboButtonImage: the centre column of each strip.
constexpr COLORREF kComboCentres[18][2] = {
    {RGB(232, 249, 255), RGB(190, 225, 243)}, {RGB(193, 238, 253), RGB(97, 181, 226)},
    {RGB(188, 235, 252), RGB(101, 184, 227)}, {RGB(183, 232, 250), RGB(106, 187, 229)},
    {RGB(178, 229, 249), RGB(112, 190, 230)}, {RGB(172, 225, 247), RGB(118, 194, 232)},
    {RGB(165, 221, 245), RGB(124, 197, 234)}, {RGB(159, 217, 243), RGB(131, 201, 236)},
    {RGB(152, 213, 241), RGB(138, 205, 238)}, {RGB(145, 209, 239), RGB(145, 209, 239)},
    {RGB(138, 205, 238), RGB(152, 213, 241)}, {RGB(131, 201, 236), RGB(159, 217, 243)},
    {RGB(124, 197, 234), RGB(165, 221, 245)}, {RGB(118, 194, 232), RGB(172, 225, 247)},
    {RGB(112, 190, 230), RGB(178, 229, 249)}, {RGB(106, 187, 229), RGB(183, 232, 250)},
    {RGB(101, 184, 227), RGB(188, 235, 252)}, {RGB(192, 225, 243), RGB(230, 248, 254)},
};

class SkinImages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildSkinImages(); }
    static void TearDownTestSuite() { DeleteSkinImages(); }

    static PixelGrid Read(HDC image) {
        BITMAP info{};
        GetObjectA(GetCurrentObject(image, OBJ_BITMAP), sizeof info, &info);
        return PixelGrid(image, 0, 0, info.bmWidth, info.bmHeight);
    }
    static void ExpectMirrored(const PixelGrid& grid, int top, int height) {
        for (int y = top; y < top + height; ++y) {
            for (int x = 0; x < grid.width() / 2; ++x) {
                EXPECT_EQ(grid.at(x, y), grid.at(grid.width() - 1 - x, y))
                    << "(" << x << "," << y << ")";
            }
        }
    }
};

TEST_F(SkinImages, HaveTheirSizes) {
    const struct {
        HDC image;
        int width, height;
    } sizes[] = {{ButtonImage, 7, 84},
                 {ComboButtonImage, 15, 18},
                 {MarkImage, 18, 24},
                 {OptionImage, 13, 52},
                 {HeaderImage, 9, 20}};
    int total = 0;
    for (const auto& s : sizes) {
        PixelGrid grid = Read(s.image);
        EXPECT_EQ(grid.width(), s.width);
        EXPECT_EQ(grid.height(), s.height);
        total += grid.width() * grid.height();
    }
    EXPECT_EQ(total, 2146);
}

TEST_F(SkinImages, ButtonFramesHaveTheirOutlinesCornersAndCentreColumns) {
    PixelGrid button = Read(ButtonImage);
    for (int frame = 0; frame < 4; ++frame) {
        const int top = 21 * frame;
        const COLORREF border = frame == 3 ? kButtonDisabledBorder : kButtonBorder;
        for (int y = 3; y <= 17; ++y) {
            EXPECT_EQ(button.at(0, top + y), border) << "frame " << frame << " row " << y;
            EXPECT_EQ(button.at(6, top + y), border) << "frame " << frame << " row " << y;
        }
        for (int y = 0; y < 21; ++y) {
            EXPECT_EQ(button.at(3, top + y), kButtonCentres[y][frame])
                << "frame " << frame << " row " << y << ": " << ColourText(button.at(3, top + y));
        }
        if (frame < 3) {
            EXPECT_EQ(button.at(0, top), RGB(191, 225, 249));
            EXPECT_EQ(button.at(1, top), RGB(107, 179, 227));
            EXPECT_EQ(button.at(2, top), RGB(44, 151, 216));
            EXPECT_EQ(button.at(0, top + 20), RGB(202, 231, 251));
            EXPECT_EQ(button.at(1, top + 20), RGB(96, 174, 225));
            EXPECT_EQ(button.at(2, top + 20), RGB(42, 150, 216));
        }
        ExpectMirrored(button, top, 21);
    }
    EXPECT_EQ(button.at(0, 63), RGB(242, 247, 251));
    // A shade that falls exactly halfway between two levels: the same in either build.
    EXPECT_EQ(button.at(1, 6), RGB(238, 246, 252));
    // The bright rims: hover's one colour down the whole body, pressed's near the top.
    for (int y = 2; y <= 18; ++y) {
        EXPECT_EQ(button.at(1, 21 + y), RGB(76, 195, 251)) << "hover rim, row " << y;
    }
    EXPECT_EQ(button.at(1, 42 + 2), RGB(49, 183, 249));
}

TEST_F(SkinImages, ButtonNormalFrameHasItsTellingRows) {
    const struct {
        int row;
        COLORREF colours[7];
    } rows[] = {
        {0, {0xF9E1BF, 0xE3B36B, 0xD8972C, 0xD58F1B, 0xD8972C, 0xE3B36B, 0xF9E1BF}},
        {1, {0xE2B269, 0xE7C07E, 0xFBF3E7, 0xFFFFFF, 0xFBF3E7, 0xE7C07E, 0xE2B269}},
        {10, {0xD58F1B, 0xFBF0E3, 0xF9EAD7, 0xF9EAD7, 0xF9EAD7, 0xFBF0E3, 0xD58F1B}},
        {20, {0xFBE7CA, 0xE1AE60, 0xD8962A, 0xD58F1B, 0xD8962A, 0xE1AE60, 0xFBE7CA}},
    };
    PixelGrid button = Read(ButtonImage);
    for (const auto& r : rows) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(button.at(x, r.row), r.colours[x]) << "(" << x << "," << r.row << ")";
        }
    }
}

TEST_F(SkinImages, ButtonFacesStepBetweenTheirHalves) {
    PixelGrid button = Read(ButtonImage);
    for (int frame = 0; frame < 4; ++frame) {
        const int top = 21 * frame;
        // Within a half, neighbouring rows differ by a little; across the step by more.
        auto distance = [&](int y1, int y2) {
            COLORREF a = button.at(3, top + y1), b = button.at(3, top + y2);
            return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                   std::abs(GetBValue(a) - GetBValue(b));
        };
        int largestInside = 0;
        for (int y = 3; y < 10; ++y) {
            largestInside = std::max(largestInside, distance(y, y + 1));
        }
        EXPECT_GT(distance(10, 11), largestInside / 2) << "frame " << frame;
    }
}

TEST_F(SkinImages, ComboStripsAndArrows) {
    PixelGrid combo = Read(ComboButtonImage);
    for (int y = 0; y < 18; ++y) {
        EXPECT_EQ(combo.at(0, y), RGB(78, 160, 209));
        EXPECT_EQ(combo.at(4, y), RGB(78, 160, 209));
        EXPECT_EQ(combo.at(2, y), kComboCentres[y][0]) << "row " << y;
        EXPECT_EQ(combo.at(6, y), kComboCentres[y][1]) << "row " << y;
        EXPECT_EQ(combo.at(1, y), combo.at(3, y));
        EXPECT_EQ(combo.at(5, y), combo.at(7, y));
    }
    EXPECT_EQ(combo.at(1, 0), RGB(232, 249, 255));
    EXPECT_EQ(combo.at(1, 17), RGB(192, 225, 243));
    EXPECT_EQ(combo.at(5, 0), RGB(190, 225, 243));
    EXPECT_EQ(combo.at(5, 17), RGB(230, 248, 254));
    for (int y = 0; y < 18; ++y) {
        for (int x = 8; x < 15; ++x) {
            int row = y % 4;
            bool inArrow = y < 8 && x - 8 >= row && x - 8 <= 6 - row;
            COLORREF expected = !inArrow ? kKey : y < 4 ? RGB(25, 85, 95) : RGB(132, 165, 172);
            EXPECT_EQ(combo.at(x, y), expected) << "(" << x << "," << y << ")";
        }
    }
}

TEST_F(SkinImages, MarksHaveTheirShapesOnKeyColour) {
    constexpr std::string_view kCheck[8] = {"........#", ".......##", "......###", "##...###.",
                                            "###.###..", ".#####...", "..###....", "...#....."};
    PixelGrid marks = Read(MarkImage);
    std::set<std::pair<int, int>> drawn;
    for (int cell : {0, 9}) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 9; ++x) {
                if (kCheck[y][x] == '#') {
                    drawn.insert({cell + x, y});
                }
            }
        }
        for (int y = 9; y < 16; ++y) {
            for (int x = cell + 1; x < cell + 8; ++x) {
                drawn.insert({x, y});
            }
        }
        for (int y = 18; y < 23; ++y) {
            for (int x = cell + 2; x < cell + 7; ++x) {
                bool corner = (y == 18 || y == 22) && (x == cell + 2 || x == cell + 6);
                if (!corner) {
                    drawn.insert({x, y});
                }
            }
        }
    }
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 18; ++x) {
            bool isKey = marks.at(x, y) == kKey;
            EXPECT_EQ(isKey, !drawn.count({x, y})) << "(" << x << "," << y << ")";
        }
    }
    // One colour a row, from the stated top to the stated bottom colours.
    EXPECT_EQ(marks.at(8, 0), RGB(84, 183, 29));
    EXPECT_EQ(marks.at(3, 7), RGB(53, 145, 2));
    EXPECT_EQ(marks.at(0, 3), marks.at(7, 3));
    EXPECT_EQ(marks.at(17, 0), RGB(168, 218, 140));
    EXPECT_EQ(marks.at(12, 7), RGB(152, 199, 126));
    for (int x = 1; x < 8; ++x) {
        EXPECT_EQ(marks.at(x, 9), RGB(81, 180, 27));
        EXPECT_EQ(marks.at(x, 15), RGB(57, 150, 6));
        EXPECT_EQ(marks.at(x + 9, 9), RGB(166, 217, 139));
        EXPECT_EQ(marks.at(x + 9, 15), RGB(154, 201, 128));
    }
    // The dots: centre column, and the lighter pixels beside the top centre.
    EXPECT_EQ(marks.at(4, 18), RGB(92, 186, 40));
    EXPECT_EQ(marks.at(4, 22), RGB(64, 153, 16));
    EXPECT_EQ(marks.at(3, 18), RGB(135, 204, 96));
    EXPECT_EQ(marks.at(5, 18), RGB(135, 204, 96));
    EXPECT_EQ(marks.at(13, 18), RGB(173, 220, 147));
    for (int cell : {0, 9}) {
        for (int y = 18; y < 23; ++y) {
            EXPECT_EQ(marks.at(cell + 2, y), marks.at(cell + 6, y));
            EXPECT_EQ(marks.at(cell + 3, y), marks.at(cell + 5, y));
        }
    }
}

TEST_F(SkinImages, OptionFramesAreRingedCirclesOnKeyCorners) {
    constexpr int kFirst[13] = {3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3};
    constexpr COLORREF kRing[4] = {RGB(131, 166, 210), RGB(131, 166, 210), RGB(100, 137, 193),
                                   RGB(193, 210, 232)};
    PixelGrid option = Read(OptionImage);
    for (int frame = 0; frame < 4; ++frame) {
        const int top = 13 * frame;
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                bool inside = x >= kFirst[y] && x <= 12 - kFirst[y];
                EXPECT_EQ(option.at(x, top + y) == kKey, !inside)
                    << "frame " << frame << " (" << x << "," << y << ")";
            }
        }
        for (auto [x, y] : {std::pair{6, 0}, {0, 6}, {12, 6}, {6, 12}}) {
            EXPECT_EQ(option.at(x, top + y), kRing[frame]) << "frame " << frame;
        }
        // The ring is darkest there: nothing else in the frame is darker.
        auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                COLORREF pixel = option.at(x, top + y);
                if (pixel != kKey) {
                    EXPECT_GE(sum(pixel), sum(kRing[frame]));
                }
            }
        }
    }
    EXPECT_EQ(option.at(3, 3), RGB(237, 242, 247));
    EXPECT_EQ(option.at(6, 10), RGB(255, 255, 255));
    EXPECT_EQ(option.at(3, 13 + 3), RGB(195, 234, 248));
    EXPECT_EQ(option.at(3, 26 + 9), RGB(173, 225, 245));
    ExpectMirrored(option, 0, 13);
    ExpectMirrored(option, 39, 13);
    EXPECT_NE(option.at(3, 13 + 3), option.at(9, 13 + 3));
    EXPECT_NE(option.at(3, 26 + 9), option.at(9, 26 + 9));
}

TEST_F(SkinImages, HeaderFramesHaveTheirColumnsAndBottomLine) {
    PixelGrid header = Read(HeaderImage);
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(header.at(x, 19), RGB(192, 218, 242));
    }
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(header.at(1, y), kHeaderCentres[y][0]) << "row " << y;
        EXPECT_EQ(header.at(4, y), kHeaderCentres[y][1]) << "row " << y;
        EXPECT_EQ(header.at(7, y), kHeaderCentres[y][2]) << "row " << y;
    }
    EXPECT_EQ(header.at(0, 0), RGB(234, 245, 254));
    EXPECT_EQ(header.at(0, 18), RGB(211, 229, 246));
    for (int y : {9, 10}) {
        EXPECT_EQ(header.at(2, y), RGB(122, 176, 217));
        EXPECT_EQ(header.at(5, y), RGB(75, 162, 219));
        EXPECT_EQ(header.at(8, y), RGB(75, 162, 219));
    }
    EXPECT_EQ(header.at(3, 9), RGB(94, 194, 250));
    EXPECT_EQ(header.at(6, 0), RGB(94, 194, 250));
    // The separator is pale at both ends, darkest in the middle.
    EXPECT_GT(GetRValue(header.at(2, 0)), GetRValue(header.at(2, 5)));
    EXPECT_GT(GetRValue(header.at(2, 18)), GetRValue(header.at(2, 14)));
}

TEST(SkinImageLifecycle, RebuildingGivesIdenticalImages) {
    BuildSkinImages();
    PixelGrid first(ButtonImage, 0, 0, 7, 84);
    PixelGrid firstOption(OptionImage, 0, 0, 13, 52);
    DeleteSkinImages();
    EXPECT_EQ(ButtonImage, nullptr);
    EXPECT_EQ(HeaderImage, nullptr);
    BuildSkinImages();
    EXPECT_EQ(PixelGrid(ButtonImage, 0, 0, 7, 84), first);
    EXPECT_EQ(PixelGrid(OptionImage, 0, 0, 13, 52), firstOption);
    DeleteSkinImages();
}

}  // namespace
}  // namespace quenlo::skin
