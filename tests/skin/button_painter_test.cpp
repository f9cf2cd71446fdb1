#include "skin/painting/button_painter.h"

#include "painter_fixture.h"
#include "skin/common/gdi_handles.h"
#include "skin/registry/skin_state.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {
namespace {

constexpr int W = 75;
constexpr int H = 23;

class ButtonPainter : public PainterTest {
protected:
    void SetUp() override {
        PainterTest::SetUp();
        // As the attachment leaves a button: owner-drawn, four state bitmaps, its old
        // push-button style remembered.
        button_ = Parent().AddChild("Button", "OK", BS_OWNERDRAW, 0, 10, 10, W, H);
        SendMessageA(button_, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        for (int s = 0; s < 4; ++s) {
            states_[s].reset(CreateMemoryBitmap(W, H));
            SetSkinProp(button_, StateDcProp(s), states_[s].get());
        }
        SetSkinProp(button_, kPropOldStyle, BS_PUSHBUTTON);
        SetSkinProp(button_, kPropOldState, 0);
        SetSkinProp(button_, kPropAlphaLevel, 255);
        Settle();
    }

    PixelGrid State(int s) const { return PixelGrid(states_[s].get(), 0, 0, W, H); }
    // The bare face of a state, as the state bitmap shows it away from the text.
    static PixelGrid Face(int s) {
        TestSurface face(W, H, RGB(0, 0, 0));
        DrawSkinPiece(face.dc(), 0, 0, W, H, ButtonImage, 0, 21 * s, 7, 21, 3, 3, 3, 3);
        return face.Grid();
    }
    bool Focus() {
        SetForegroundWindow(Parent().window());
        SetFocus(button_);
        return GetFocus() == button_;
    }

    HWND button_ = nullptr;
    UniqueMemoryBitmap states_[4];
};

TEST_F(ButtonPainter, StateBitmapsShowTheirFacesAwayFromTheCaption) {
    SetFocus(nullptr);
    DrawControlText(button_);
    for (int s = 0; s < 4; ++s) {
        PixelGrid state = State(s);
        PixelGrid face = Face(s);
        for (int y = 0; y < H; ++y) {
            for (int x : {0, 1, 2, 3, 10, W - 11, W - 4, W - 3, W - 2, W - 1}) {
                ASSERT_EQ(state.at(x, y), face.at(x, y))
                    << "state " << s << " (" << x << "," << y << ")";
            }
        }
        EXPECT_EQ(state.at(0, 10), s == 3 ? RGB(135, 195, 232) : RGB(27, 143, 213));
        EXPECT_EQ(state.at(W / 2, 0), s == 3 ? RGB(135, 195, 232) : RGB(27, 143, 213));
        EXPECT_EQ(state.at(3, 1), state.at(W - 4, 1));
    }
    EXPECT_EQ(State(0).at(5, 1), RGB(255, 255, 255));
    EXPECT_EQ(State(1).at(5, 1), RGB(76, 195, 251));
    EXPECT_EQ(State(2).at(5, 2), RGB(134, 204, 243));
    EXPECT_EQ(State(3).at(W / 2, H - 2), RGB(223, 235, 246));
}

TEST_F(ButtonPainter, CaptionIsBlackButGreyWhenDisabled) {
    // A smoothed font leaves only a few pixels in the exact caption colour.
    LOGFONTA sharp{};
    sharp.lfHeight = -13;
    sharp.lfWeight = FW_BOLD;
    sharp.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpyA(sharp.lfFaceName, "Tahoma");
    const UniqueHfont font(CreateFontIndirectA(&sharp));
    SendMessageA(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    DrawControlText(button_);
    SendMessageA(button_, WM_SETFONT, 0, FALSE);
    auto count = [](const PixelGrid& grid, COLORREF colour) {
        int n = 0;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                n += grid.at(x, y) == colour;
            }
        }
        return n;
    };
    for (int s = 0; s < 3; ++s) {
        EXPECT_GT(count(State(s), RGB(0, 0, 0)), 5) << "state " << s;
        EXPECT_EQ(count(State(s), kDisabledCaptionColour), 0);
    }
    EXPECT_GT(count(State(3), kDisabledCaptionColour), 5);
    EXPECT_EQ(count(State(3), RGB(0, 0, 0)), 0);
}

TEST_F(ButtonPainter, EmptyCaptionLeavesTheBareFace) {
    SetWindowTextA(button_, "");
    SetFocus(nullptr);
    DrawControlText(button_);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(State(s), Face(s)) << "state " << s;
    }
}

TEST_F(ButtonPainter, FocusRectangleShowsInAllFourOnlyWhileFocused) {
    if (!Focus()) {
        GTEST_SKIP() << "the test window cannot take the focus here";
    }
    DrawControlText(button_);
    PixelGrid focused[4] = {State(0), State(1), State(2), State(3)};
    SetFocus(Parent().window());
    DrawControlText(button_);
    for (int s = 0; s < 4; ++s) {
        PixelGrid plain = State(s);
        int changed = 0;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                if (focused[s].at(x, y) != plain.at(x, y)) {
                    bool onFocusEdge = x >= 2 && x < W - 2 && y >= 2 && y < H - 2 &&
                                       (x == 2 || x == W - 3 || y == 2 || y == H - 3);
                    EXPECT_TRUE(onFocusEdge) << "state " << s << " (" << x << "," << y << ")";
                    ++changed;
                }
            }
        }
        EXPECT_GT(changed, 20) << "state " << s;
        EXPECT_EQ(plain.at(2, 2), Face(s).at(2, 2));
    }
}

TEST_F(ButtonPainter, FullLevelShowsTheStateBitmapAndZeroChangesNothing) {
    DrawControlText(button_);
    EXPECT_EQ(PaintButton(button_, nullptr), 0);
    EXPECT_EQ(ReadWindow(button_), State(0));

    SetSkinProp(button_, kPropOldState, 1);
    SetSkinProp(button_, kPropAlphaLevel, 0);
    PaintButton(button_, nullptr);
    EXPECT_EQ(ReadWindow(button_), State(0));

    SetSkinProp(button_, kPropAlphaLevel, 255);
    PaintButton(button_, nullptr);
    EXPECT_EQ(ReadWindow(button_), State(1));
}

TEST_F(ButtonPainter, HalfLevelBlendsTheNewStateOverTheOld) {
    DrawControlText(button_);
    PaintButton(button_, nullptr);
    SetSkinProp(button_, kPropOldState, 2);
    SetSkinProp(button_, kPropAlphaLevel, 128);
    PaintButton(button_, nullptr);
    PixelGrid shown = ReadWindow(button_);
    PixelGrid from = State(0);
    PixelGrid to = State(2);
    auto blend = [](int source, int destination) {
        return source * 128 / 255.0 + destination * 127 / 255.0;
    };
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            COLORREF s = to.at(x, y), d = from.at(x, y), r = shown.at(x, y);
            ASSERT_NEAR(GetRValue(r), blend(GetRValue(s), GetRValue(d)), 1.0) << x << "," << y;
            ASSERT_NEAR(GetGValue(r), blend(GetGValue(s), GetGValue(d)), 1.0) << x << "," << y;
            ASSERT_NEAR(GetBValue(r), blend(GetBValue(s), GetBValue(d)), 1.0) << x << "," << y;
        }
    }
}

TEST_F(ButtonPainter, DisabledButtonShowsAndStoresStateThree) {
    DrawControlText(button_);
    SetSkinProp(button_, kPropOldState, 1);
    EnableWindow(button_, FALSE);
    Settle();
    PaintButton(button_, nullptr);
    EXPECT_EQ(GetSkinProp<int>(button_, kPropOldState), 3);
    EXPECT_EQ(ReadWindow(button_), State(3));
}

TEST_F(ButtonPainter, ButtonsThatWereNoPushButtonsAreLeftToTheSystem) {
    DrawControlText(button_);
    PaintButton(button_, nullptr);
    const PixelGrid before = ReadWindow(button_);
    SetSkinProp(button_, kPropOldState, 2);
    for (LONG_PTR style : {BS_OWNERDRAW, BS_CHECKBOX, BS_RADIOBUTTON, BS_3STATE, BS_GROUPBOX}) {
        SetSkinProp(button_, kPropOldStyle, style);
        EXPECT_EQ(PaintButton(button_, nullptr), 0);
        EXPECT_EQ(ReadWindow(button_), before) << "style " << style;
    }
}

TEST_F(ButtonPainter, ACallersDcIsPaintedAndLeftToTheCaller) {
    DrawControlText(button_);
    PaintButton(button_, nullptr);
    const PixelGrid before = ReadWindow(button_);
    TestSurface target(W, H, RGB(9, 9, 9));
    SetSkinProp(button_, kPropOldState, 1);
    PaintButton(button_, target.dc());
    EXPECT_EQ(target.Grid(), State(1));
    EXPECT_EQ(ReadWindow(button_), before);
    EXPECT_EQ(GetObjectType(target.dc()), static_cast<DWORD>(OBJ_MEMDC));
}

}  // namespace
}  // namespace quenlo::skin
