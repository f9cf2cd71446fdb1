#include <gtest/gtest.h>

#include <set>

#include "skin/painting/primitives.h"
#include "test_windows.h"

namespace quenlo::skin {
namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(200, 30, 60);

TEST(Primitives, EmptyOrNegativeRectanglesDrawNothing) {
    TestSurface surface(10, 10, kPaper);
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 5}, {5, -3}, {-2, -2}}) {
        EXPECT_EQ(FillColorRect(surface.dc(), 5, 5, w, h, kInk), 0);
        EXPECT_EQ(FrameColorRect(surface.dc(), 5, 5, w, h, kInk), 0);
    }
    EXPECT_EQ(surface.Grid(), TestSurface(10, 10, kPaper).Grid());
}

TEST(Primitives, FillCoversExactlyItsRectangle) {
    TestSurface surface(10, 10, kPaper);
    EXPECT_NE(FillColorRect(surface.dc(), 2, 3, 4, 5, kInk), 0);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
            EXPECT_EQ(surface.at(x, y), inside ? kInk : kPaper) << "(" << x << "," << y << ")";
        }
    }
}

TEST(Primitives, FramesAreOnePixelInsideTheirRectangle) {
    TestSurface surface(12, 12, kPaper);
    EXPECT_NE(FrameColorRect(surface.dc(), 1, 1, 2, 2, kInk), 0);  // all four pixels
    EXPECT_NE(FrameColorRect(surface.dc(), 5, 1, 1, 4, kInk), 0);  // one column
    EXPECT_NE(FrameColorRect(surface.dc(), 7, 6, 5, 4, kInk), 0);  // a ring
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            bool small = x >= 1 && x < 3 && y >= 1 && y < 3;
            bool column = x == 5 && y >= 1 && y < 5;
            bool ring =
                x >= 7 && x < 12 && y >= 6 && y < 10 && (x == 7 || x == 11 || y == 6 || y == 9);
            EXPECT_EQ(surface.at(x, y), small || column || ring ? kInk : kPaper)
                << "(" << x << "," << y << ")";
        }
    }
}

TEST(Primitives, FocusBoxInvertsItsEdgeAndASecondOneRemovesIt) {
    TestSurface surface(20, 12, kPaper);
    const PixelGrid blank = surface.Grid();
    EXPECT_NE(DrawFocusBox(surface.dc(), 2, 2, 16, 8), 0);
    const PixelGrid focused = surface.Grid();
    int changedOnEdge = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
            bool edge =
                x >= 2 && x < 18 && y >= 2 && y < 10 && (x == 2 || x == 17 || y == 2 || y == 9);
            if (focused.at(x, y) != blank.at(x, y)) {
                EXPECT_TRUE(edge) << "(" << x << "," << y << ")";
                ++changedOnEdge;
            }
        }
    }
    EXPECT_GT(changedOnEdge, 10);
    DrawFocusBox(surface.dc(), 2, 2, 16, 8);
    EXPECT_EQ(surface.Grid(), blank);
}

class PrimitiveText : public ::testing::Test {
protected:
    PrimitiveText() : surface_(120, 24, kPaper) {
        font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        previous_ = SelectObject(surface_.dc(), font_);
        SetBkMode(surface_.dc(), TRANSPARENT);
    }
    ~PrimitiveText() override { SelectObject(surface_.dc(), previous_); }

    PixelGrid DrawIn(std::string_view text, int width = 120) {
        surface_.Fill(kPaper);
        DrawTextIn(surface_.dc(), text, 0, 0, width, 24, kTextFormat);
        return surface_.Grid();
    }
    PixelGrid DrawPlain(const char* text, UINT format) {
        surface_.Fill(kPaper);
        RECT rect{0, 0, 120, 24};
        DrawTextA(surface_.dc(), text, -1, &rect, format);
        return surface_.Grid();
    }
    static std::vector<std::pair<int, int>> Inked(const PixelGrid& grid) {
        std::vector<std::pair<int, int>> inked;
        for (int y = 0; y < grid.height(); ++y) {
            for (int x = 0; x < grid.width(); ++x) {
                if (grid.at(x, y) != kPaper) {
                    inked.push_back({x, y});
                }
            }
        }
        return inked;
    }

    TestSurface surface_;
    HFONT font_;
    HGDIOBJ previous_;
};

TEST_F(PrimitiveText, EmptyTextDrawsNothing) {
    EXPECT_TRUE(Inked(DrawIn("")).empty());
    EXPECT_GT(DrawTextIn(surface_.dc(), "Go", 0, 0, 120, 24, kTextFormat), 0);
}

TEST_F(PrimitiveText, TextStopsAtItsFirstNul) {
    using namespace std::string_view_literals;
    EXPECT_EQ(DrawIn("Go\0 away"sv), DrawIn("Go"));
}

TEST_F(PrimitiveText, LongTextStaysOnOneLineAndEndsInAnEllipsis) {
    const char* kLong = "A caption far too long for its narrow little button";
    PixelGrid cut = DrawIn(kLong, 60);
    PixelGrid uncut = DrawPlain(kLong, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_NE(cut, uncut);
    TEXTMETRICA metrics{};
    GetTextMetricsA(surface_.dc(), &metrics);
    auto inked = Inked(cut);
    ASSERT_FALSE(inked.empty());
    int top = inked.front().second, bottom = inked.back().second;
    EXPECT_LT(bottom - top, metrics.tmHeight);
    for (auto [x, y] : inked) {
        EXPECT_LT(x, 60);
    }
}

TEST_F(PrimitiveText, DoubleAmpersandShowsOne) {
    EXPECT_EQ(DrawIn("Save && go"), DrawPlain("Save & go", kTextFormat | DT_NOPREFIX));
}

TEST_F(PrimitiveText, AmpersandUnderlinesTheNextLetterInsteadOfShowing) {
    PixelGrid prefixed = DrawIn("&Open");
    PixelGrid plain = DrawPlain("Open", kTextFormat | DT_NOPREFIX);
    ASSERT_NE(prefixed, plain);
    // Everything of the plain text is there; the extra ink is one underline row or two.
    std::set<int> extraRows;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (plain.at(x, y) != kPaper) {
                EXPECT_EQ(prefixed.at(x, y), plain.at(x, y)) << "(" << x << "," << y << ")";
            } else if (prefixed.at(x, y) != kPaper) {
                extraRows.insert(y);
            }
        }
    }
    EXPECT_GE(extraRows.size(), 1u);
    EXPECT_LE(extraRows.size(), 2u);
}

TEST(Primitives, WindowSizeAtNegativeScreenCoordinates) {
    TestParent registersTheClass;
    HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW, TestParent::kPlainClass, "", WS_POPUP, -500, -400, 120,
                        80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    WindowBox box;
    EXPECT_NE(GetWindowSize(window, box), 0);
    EXPECT_EQ(box.left, -500);
    EXPECT_EQ(box.top, -400);
    EXPECT_EQ(box.right, -380);
    EXPECT_EQ(box.bottom, -320);
    EXPECT_EQ(box.width, 120);
    EXPECT_EQ(box.height, 80);
    DestroyWindow(window);

    box = WindowBox{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(GetWindowSize(window, box), 0);
    EXPECT_EQ(box.width, 0);
    EXPECT_EQ(box.left, 0);
}

TEST(Primitives, CentringRoundsHalvesToEven) {
    EXPECT_EQ(CentredOffset(13, 8), 2);
    EXPECT_EQ(CentredOffset(18, 7), 6);
    EXPECT_EQ(CentredOffset(21, 6), 8);
    EXPECT_EQ(CentredOffset(17, 13), 2);
    EXPECT_EQ(CentredOffset(13, 14), 0);
    EXPECT_EQ(CentredOffset(10, 13), -2);
}

}  // namespace
}  // namespace quenlo::skin
