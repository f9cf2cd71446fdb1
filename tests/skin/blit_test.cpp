#include <gtest/gtest.h>

#include "skin/registry/skin_state.h"
#include "skin/images/skin_blit.h"
#include "skin/images/skin_images.h"
#include "test_windows.h"

namespace quenlo::skin {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kBackdrop = RGB(10, 20, 30);

class SkinBlit : public ::testing::Test {
protected:
    void SetUp() override { BuildSkinImages(); }
    void TearDown() override { DeleteSkinImages(); }
};

TEST_F(SkinBlit, MemoryBitmapHasTheAskedSize) {
    UniqueMemoryBitmap surface(CreateMemoryBitmap(31, 17));
    ASSERT_TRUE(surface);
    BITMAP info{};
    GetObjectA(GetCurrentObject(surface.get(), OBJ_BITMAP), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 31);
    EXPECT_EQ(info.bmHeight, 17);
}

TEST_F(SkinBlit, DeletingAMemoryBitmapDeletesItsBitmapToo) {
    HDC surface = CreateMemoryBitmap(8, 8);
    HGDIOBJ bitmap = GetCurrentObject(surface, OBJ_BITMAP);
    ASSERT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    DeleteMemoryBitmap(surface);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST_F(SkinBlit, ZeroOrNegativeSizesDrawNothingAndReturnZero) {
    TestSurface destination(20, 20, kBackdrop);
    const PixelGrid before = destination.Grid();
    // Negative sizes would mirror the copies onto pixels left of or above the origin.
    EXPECT_EQ(DrawSkinPiece(destination.dc(), 10, 10, -7, 5, ButtonImage, 0, 0, 7, 21, 3, 3, 3, 3),
              0);
    EXPECT_EQ(DrawSkinPiece(destination.dc(), 10, 10, 7, -5, ButtonImage, 0, 0, 7, 21, 0, 0, 0, 0),
              0);
    EXPECT_EQ(DrawSkinPiece(destination.dc(), 0, 0, 10, 10, ButtonImage, 7, 0, -7, 21, 0, 0, 0, 0),
              0);
    EXPECT_EQ(
        DrawSkinPiece(destination.dc(), 0, 0, 10, 10, ButtonImage, 0, 21, 7, -21, 3, 3, 3, 3, kKey),
        0);
    TransparentBlit(destination.dc(), 10, 10, -9, 8, MarkImage, 9, 0, kKey);
    TransparentBlit(destination.dc(), 10, 10, 9, -8, MarkImage, 0, 8, kKey);
    EXPECT_EQ(destination.Grid(), before);

    EXPECT_EQ(DrawSkinPiece(destination.dc(), 0, 0, 0, 10, ButtonImage, 0, 0, 7, 21, 3, 3, 3, 3),
              0);
    EXPECT_EQ(DrawSkinPiece(destination.dc(), 0, 0, 10, 0, ButtonImage, 0, 0, 7, 21, 3, 3, 3, 3),
              0);
    EXPECT_EQ(DrawSkinPiece(destination.dc(), 0, 0, 10, 10, ButtonImage, 0, 0, 0, 21, 3, 3, 3, 3),
              0);
    EXPECT_EQ(
        DrawSkinPiece(destination.dc(), 0, 0, 10, 10, ButtonImage, 0, 0, 7, 0, 0, 0, 0, 0, kKey),
        0);
    EXPECT_EQ(destination.Grid(), before);
}

TEST_F(SkinBlit, SourceSizedDestinationReproducesThePiece) {
    for (int frame = 0; frame < 4; ++frame) {
        TestSurface destination(7, 21, kBackdrop);
        EXPECT_NE(DrawSkinPiece(destination.dc(), 0, 0, 7, 21, ButtonImage, 0, 21 * frame, 7, 21, 3,
                                3, 3, 3),
                  0);
        EXPECT_EQ(destination.Grid(), PixelGrid(ButtonImage, 0, 21 * frame, 7, 21))
            << "frame " << frame;
    }
}

TEST_F(SkinBlit, AllMarginsZeroStretchesTheWholePiece) {
    // The 4 x 18 hover strip of the combo button, stretched to 8 x 36: every source
    // pixel becomes a 2 x 2 block.
    TestSurface destination(8, 36, kBackdrop);
    EXPECT_NE(
        DrawSkinPiece(destination.dc(), 0, 0, 8, 36, ComboButtonImage, 0, 0, 4, 18, 0, 0, 0, 0), 0);
    PixelGrid source(ComboButtonImage, 0, 0, 4, 18);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(destination.at(x, y), source.at(x / 2, y / 2)) << "(" << x << "," << y << ")";
        }
    }
}

// The margins need more than the piece has: no grid can be made of it, and what
// reaches the destination is the piece, never the work surface's undefined pixels.
TEST_F(SkinBlit, PieceSmallerThanItsMarginsIsStretchedWhole) {
    TestSurface source(2, 2, RGB(200, 10, 10));
    SetPixel(source.dc(), 1, 0, RGB(10, 200, 10));
    SetPixel(source.dc(), 0, 1, RGB(10, 10, 200));
    SetPixel(source.dc(), 1, 1, RGB(200, 200, 10));
    TestSurface destination(20, 20, kBackdrop);

    EXPECT_NE(DrawSkinPiece(destination.dc(), 0, 0, 20, 20, source.dc(), 0, 0, 2, 2, 3, 3, 3, 3),
              0);

    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(destination.at(x, y), source.at(x / 10, y / 10))
                << "(" << x << "," << y << ")";
        }
    }
}

TEST_F(SkinBlit, NineGridKeepsCornersAndStretchesOnlyTheMiddle) {
    constexpr int W = 75, H = 23;
    TestSurface destination(W, H, kBackdrop);
    ASSERT_NE(DrawSkinPiece(destination.dc(), 0, 0, W, H, ButtonImage, 0, 0, 7, 21, 3, 3, 3, 3), 0);
    PixelGrid source(ButtonImage, 0, 0, 7, 21);
    PixelGrid drawn = destination.Grid();
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(drawn.at(x, y), source.at(x, y));
            EXPECT_EQ(drawn.at(W - 3 + x, y), source.at(4 + x, y));
            EXPECT_EQ(drawn.at(x, H - 3 + y), source.at(x, 18 + y));
            EXPECT_EQ(drawn.at(W - 3 + x, H - 3 + y), source.at(4 + x, 18 + y));
        }
    }
    // Top and bottom edges: the single middle column, stretched across.
    for (int x = 3; x < W - 3; ++x) {
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(drawn.at(x, y), source.at(3, y)) << "(" << x << "," << y << ")";
            EXPECT_EQ(drawn.at(x, H - 3 + y), source.at(3, 18 + y));
        }
    }
    // The middle rows: 15 source rows over 17; every destination row is one of them,
    // in order, and the centre stays one colour across.
    int lastSourceRow = 3;
    for (int y = 3; y < H - 3; ++y) {
        int row = -1;
        for (int candidate = lastSourceRow; candidate <= 17 && row < 0; ++candidate) {
            if (drawn.at(0, y) == source.at(0, candidate) &&
                drawn.at(1, y) == source.at(1, candidate) &&
                drawn.at(3, y) == source.at(3, candidate)) {
                row = candidate;
            }
        }
        ASSERT_GE(row, 0) << "row " << y << " is none of the source's middle rows";
        lastSourceRow = row;
        for (int x = 3; x < W - 3; ++x) {
            EXPECT_EQ(drawn.at(x, y), source.at(3, row));
        }
        EXPECT_EQ(drawn.at(W - 1, y), source.at(6, row));
    }
    EXPECT_EQ(lastSourceRow, 17);
}

TEST_F(SkinBlit, KeyColourKeepsTheDestinationEvenAtTheEdges) {
    // A source whose border and a diagonal are key colour.
    TestSurface source(9, 7, RGB(40, 200, 90));
    for (int x = 0; x < 9; ++x) {
        SetPixel(source.dc(), x, 0, kKey);
        SetPixel(source.dc(), x, 6, kKey);
    }
    for (int y = 0; y < 7; ++y) {
        SetPixel(source.dc(), 0, y, kKey);
        SetPixel(source.dc(), 8, y, kKey);
        SetPixel(source.dc(), y + 1, y, kKey);
    }
    TestSurface destination(13, 11, kBackdrop);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 13; ++x) {
            SetPixel(destination.dc(), x, y, RGB(x * 10, y * 10, 77));
        }
    }
    const PixelGrid before = destination.Grid();
    const PixelGrid piece = source.Grid();
    EXPECT_EQ(
        DrawSkinPiece(destination.dc(), 2, 3, 9, 7, source.dc(), 0, 0, 9, 7, 0, 0, 0, 0, kKey), 1);
    const PixelGrid after = destination.Grid();
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 13; ++x) {
            bool inside = x >= 2 && x < 11 && y >= 3 && y < 10;
            COLORREF expected = before.at(x, y);
            if (inside && piece.at(x - 2, y - 3) != kKey) {
                expected = piece.at(x - 2, y - 3);
            }
            EXPECT_EQ(after.at(x, y), expected) << "(" << x << "," << y << ")";
        }
    }
}

TEST_F(SkinBlit, KeyedOptionCircleLeavesItsCornersAlone) {
    TestSurface destination(13, 13, kBackdrop);
    DrawSkinPiece(destination.dc(), 0, 0, 13, 13, OptionImage, 0, 0, 13, 13, 5, 5, 5, 5, kKey);
    EXPECT_EQ(destination.at(0, 0), kBackdrop);
    EXPECT_EQ(destination.at(12, 12), kBackdrop);
    EXPECT_EQ(destination.at(6, 0), RGB(131, 166, 210));
    EXPECT_EQ(destination.at(6, 12), RGB(131, 166, 210));
}

TEST_F(SkinBlit, TransparentBlitTranslatesSystemColourKeys) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    TestSurface source(4, 1, window);
    SetPixel(source.dc(), 1, 0, RGB(1, 2, 3));
    TestSurface destination(4, 1, kBackdrop);
    TransparentBlit(destination.dc(), 0, 0, 4, 1, source.dc(), 0, 0, 0x80000000 | COLOR_WINDOW);
    EXPECT_EQ(destination.at(0, 0), kBackdrop);
    EXPECT_EQ(destination.at(1, 0), RGB(1, 2, 3));
    EXPECT_EQ(destination.at(3, 0), kBackdrop);
}

TEST_F(SkinBlit, TransparentBlitLeavesACallersPaletteAlive) {
    HDC screen = GetDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(palette, nullptr);
    TestSurface destination(9, 8, kBackdrop);
    TransparentBlit(destination.dc(), 0, 0, 9, 8, MarkImage, 0, 0, kKey, palette);
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    EXPECT_EQ(destination.at(8, 0), RGB(84, 183, 29));
    EXPECT_EQ(destination.at(0, 0), kBackdrop);
    DeleteObject(palette);
}

}  // namespace
}  // namespace quenlo::skin
