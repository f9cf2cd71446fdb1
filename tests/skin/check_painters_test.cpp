#include "skin/painting/check_painters.h"

#include <set>

#include "painter_fixture.h"
#include "skin/registry/skin_state.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {
namespace {

constexpr int kHeight = 17;

class CheckPainters : public PainterTest {
protected:
    HWND AddControl(DWORD style) {
        HWND control = Parent().AddChild("Button", "Choice", style, 0, 10, 10, 120, kHeight);
        SetSkinProp(control, kPropOldState, 0);
        Settle();
        return control;
    }
    int cx() const { return GetSystemMetrics(SM_CXMENUCHECK); }
    int cy() const { return GetSystemMetrics(SM_CYMENUCHECK); }
    int top() const { return CentredOffset(kHeight, cy()); }
    // Colours of the 11 x 5 inside piece of OptionImage at (1, pieceTop).
    static std::set<COLORREF> PieceColours(int pieceTop) {
        PixelGrid piece(OptionImage, 1, pieceTop, 11, 5);
        std::set<COLORREF> colours;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 11; ++x) {
                colours.insert(piece.at(x, y));
            }
        }
        return colours;
    }
};

TEST_F(CheckPainters, SameStateIsSkippedUnlessForced) {
    HWND check = AddControl(BS_AUTOCHECKBOX);
    HWND option = AddControl(BS_AUTORADIOBUTTON);
    EXPECT_EQ(PaintCheckBox(check, 0, false), 0);
    EXPECT_EQ(PaintOptionButton(option, 0, false), 0);
    EXPECT_EQ(PaintCheckBox(check, 0, true), 1);
    EXPECT_EQ(PaintOptionButton(option, 0, true), 1);
    EXPECT_EQ(PaintCheckBox(check, 2, false), 1);
    EXPECT_EQ(PaintOptionButton(option, 1, false), 1);
    EXPECT_EQ(GetSkinProp<int>(check, kPropOldState), 2);
    EXPECT_EQ(GetSkinProp<int>(option, kPropOldState), 1);
    EXPECT_EQ(PaintCheckBox(check, 2, false), 0);
}

TEST_F(CheckPainters, BoxAndCheckMarkSitCentredAtTheLeft) {
    HWND check = AddControl(BS_AUTOCHECKBOX);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    Settle();
    PaintCheckBox(check, 0, true);
    PixelGrid shown = ReadWindow(check);
    const int y0 = top();
    EXPECT_EQ(shown.at(0, y0), kBorderColour);
    EXPECT_EQ(shown.at(cx() - 1, y0 + cy() - 1), kBorderColour);
    EXPECT_EQ(shown.at(1, y0 + 1), kBackgroundColour);
    const int markX = CentredOffset(cx(), 9);
    const int markY = y0 + CentredOffset(cy(), 8);
    EXPECT_EQ(shown.at(markX + 8, markY), RGB(84, 183, 29));  // tip of the check mark
    EXPECT_EQ(shown.at(markX + 3, markY + 7), RGB(53, 145, 2));
    EXPECT_EQ(shown.at(markX, markY), kBackgroundColour);  // key colour left out
    if (cx() == 13 && cy() == 13) {
        EXPECT_EQ(y0, 2);
        EXPECT_EQ(markX, 2);
        EXPECT_EQ(markY - y0, 2);
    }
}

TEST_F(CheckPainters, GreyCheckBoxShowsTheSquare) {
    HWND check = AddControl(BS_AUTO3STATE);
    SendMessageA(check, BM_SETCHECK, BST_INDETERMINATE, 0);
    Settle();
    PaintCheckBox(check, 0, true);
    PixelGrid shown = ReadWindow(check);
    const int x = CentredOffset(cx(), 7);
    const int y = top() + CentredOffset(cy(), 7);
    EXPECT_EQ(shown.at(x, y), RGB(81, 180, 27));
    EXPECT_EQ(shown.at(x + 6, y + 6), RGB(57, 150, 6));
    EXPECT_EQ(shown.at(x - 1, y), kBackgroundColour);
}

TEST_F(CheckPainters, HoverAndPressedFillTheBoxWithTheirFrames) {
    HWND check = AddControl(BS_AUTOCHECKBOX);
    const int midX = cx() / 2;
    const int midY = top() + cy() / 2;
    PaintCheckBox(check, 1, true);
    PixelGrid hover = ReadWindow(check);
    EXPECT_EQ(hover.at(0, top()), kBorderColour);
    EXPECT_TRUE(PieceColours(17).count(hover.at(midX, midY)));
    PaintCheckBox(check, 2, true);
    PixelGrid pressed = ReadWindow(check);
    EXPECT_EQ(pressed.at(0, top()), kPressedCheckFrameColour);
    EXPECT_EQ(pressed.at(cx() - 1, top() + cy() - 1), kPressedCheckFrameColour);
    EXPECT_TRUE(PieceColours(30).count(pressed.at(midX, midY)));
}

TEST_F(CheckPainters, DisabledBoxIsPaleAndWhiteInEveryState) {
    HWND check = AddControl(BS_AUTOCHECKBOX);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(check, FALSE);
    Settle();
    for (int state = 0; state <= 2; ++state) {
        PaintCheckBox(check, state, true);
        PixelGrid shown = ReadWindow(check);
        EXPECT_EQ(shown.at(0, top()), kDisabledBorderColour) << "state " << state;
        EXPECT_EQ(shown.at(1, top() + 1), kBackgroundColour) << "state " << state;
        EXPECT_EQ(shown.at(cx() - 2, top() + cy() - 2), kBackgroundColour);
        const int markX = CentredOffset(cx(), 9);
        const int markY = top() + CentredOffset(cy(), 8);
        EXPECT_EQ(shown.at(markX + 8, markY), RGB(168, 218, 140));
    }
}

TEST_F(CheckPainters, BoxGoesLeftEvenWhenTheSystemPutsItRight) {
    HWND check = AddControl(BS_AUTOCHECKBOX | BS_RIGHTBUTTON);
    PaintCheckBox(check, 0, true);
    PixelGrid shown = ReadWindow(check);
    EXPECT_EQ(shown.at(0, top()), kBorderColour);
    EXPECT_EQ(shown.at(cx() - 1, top()), kBorderColour);
}

TEST_F(CheckPainters, OptionCircleOnKeyedCornersWithTheDotCentred) {
    HWND option = AddControl(BS_AUTORADIOBUTTON);
    const PixelGrid systemDrawn = ReadWindow(option);
    PaintOptionButton(option, 0, true);
    PixelGrid unmarked = ReadWindow(option);
    const int y0 = top();
    EXPECT_EQ(unmarked.at(0, y0), systemDrawn.at(0, y0));  // keyed corner
    const int dotX = CentredOffset(cx(), 5);
    const int dotY = y0 + CentredOffset(cy(), 5);
    EXPECT_NE(unmarked.at(dotX + 2, dotY), RGB(92, 186, 40));
    if (cx() == 13 && cy() == 13) {
        EXPECT_EQ(unmarked.at(dotX + 2, dotY), PixelGrid(OptionImage, 0, 0, 13, 13).at(6, 4));
        EXPECT_EQ(unmarked.at(6, y0), RGB(131, 166, 210));
        EXPECT_EQ(unmarked.at(0, y0 + 6), RGB(131, 166, 210));
        EXPECT_EQ(dotX, 4);
        EXPECT_EQ(dotY, 6);
    }

    SendMessageA(option, BM_SETCHECK, BST_CHECKED, 0);
    Settle();
    PaintOptionButton(option, 2, true);
    PixelGrid marked = ReadWindow(option);
    EXPECT_EQ(marked.at(dotX + 2, dotY), RGB(92, 186, 40));
    EXPECT_EQ(marked.at(dotX + 2, dotY + 4), RGB(64, 153, 16));
    if (cx() == 13 && cy() == 13) {
        EXPECT_EQ(marked.at(6, y0), RGB(100, 137, 193));  // the pressed ring
    }
}

TEST_F(CheckPainters, DisabledOptionShowsThePaleCircleAndDot) {
    HWND option = AddControl(BS_AUTORADIOBUTTON);
    SendMessageA(option, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(option, FALSE);
    Settle();
    PaintOptionButton(option, 1, true);
    PixelGrid shown = ReadWindow(option);
    const int dotX = CentredOffset(cx(), 5);
    const int dotY = top() + CentredOffset(cy(), 5);
    EXPECT_EQ(shown.at(dotX + 2, dotY), RGB(173, 220, 147));
    if (cx() == 13 && cy() == 13) {
        EXPECT_EQ(shown.at(6, top()), RGB(193, 210, 232));
    }
}

}  // namespace
}  // namespace quenlo::skin
