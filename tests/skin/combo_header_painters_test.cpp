#include <string>

#include "painter_fixture.h"
#include "skin/registry/skin_state.h"
#include "skin/painting/combo_painter.h"
#include "skin/painting/header_painter.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {
namespace {

constexpr COLORREF kStripBorder = RGB(78, 160, 209);
constexpr COLORREF kArrow = RGB(25, 85, 95);
constexpr COLORREF kPaleArrow = RGB(132, 165, 172);

class ComboPainter : public PainterTest {
protected:
    HWND AddCombo(DWORD style) {
        HWND combo = Parent().AddChild("ComboBox", "", style | WS_VSCROLL, 0, 10, 10, 120, 120);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
        SetSkinProp(combo, kPropOldState, 0);
        Settle();
        GetWindowSize(combo, box_);
        buttonWidth_ = GetSystemMetrics(SM_CXVSCROLL) + 1;
        buttonLeft_ = box_.width - buttonWidth_ - 1;
        return combo;
    }
    int ArrowX() const { return buttonLeft_ + CentredOffset(buttonWidth_, 7); }
    int ArrowY() const { return 1 + CentredOffset(box_.height - 2, 4); }

    WindowBox box_;
    int buttonWidth_ = 0;
    int buttonLeft_ = 0;
};

TEST_F(ComboPainter, ButtonFillsItsRectangleWithTheArrowCentred) {
    HWND combo = AddCombo(CBS_DROPDOWNLIST);
    int state = 1;
    PaintComboBox(combo, nullptr, state, true);
    PixelGrid shown = ReadWindow(combo);
    EXPECT_EQ(shown.at(buttonLeft_, 1), kStripBorder);
    EXPECT_EQ(shown.at(buttonLeft_, box_.height - 2), kStripBorder);
    EXPECT_NE(shown.at(buttonLeft_ - 1, 1), kStripBorder);
    EXPECT_EQ(shown.at(box_.width - 2, 1), RGB(232, 249, 255));
    EXPECT_EQ(shown.at(ArrowX(), ArrowY()), kArrow);
    EXPECT_EQ(shown.at(ArrowX() + 6, ArrowY()), kArrow);
    EXPECT_EQ(shown.at(ArrowX() + 3, ArrowY() + 3), kArrow);
    EXPECT_NE(shown.at(ArrowX(), ArrowY() + 1), kArrow);  // keyed beside the point
    EXPECT_EQ(GetSkinProp<int>(combo, kPropOldState), 1);

    state = 0;
    PaintComboBox(combo, nullptr, state, false);
    shown = ReadWindow(combo);
    EXPECT_EQ(shown.at(buttonLeft_, 1), kBackgroundColour);
    EXPECT_EQ(shown.at(ArrowX() + 3, ArrowY() + 3), kArrow);
}

TEST_F(ComboPainter, ButtonGeometryForAStandardScrollBarWidth) {
    HWND combo = AddCombo(CBS_DROPDOWNLIST);
    // The selection field decides the height: 15 and the frame's 6 make 21.
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 15);
    Settle();
    GetWindowSize(combo, box_);
    if (GetSystemMetrics(SM_CXVSCROLL) != 17 || box_.height != 21) {
        GTEST_SKIP() << "scroll bars are " << GetSystemMetrics(SM_CXVSCROLL)
                     << " wide and the combo box " << box_.height << " high here";
    }
    EXPECT_EQ(buttonWidth_, 18);
    EXPECT_EQ(ArrowX() - buttonLeft_, 6);
    EXPECT_EQ(ArrowY() - 1, 8);
}

TEST_F(ComboPainter, OpenListForcesAndStoresThePressedLook) {
    HWND combo = AddCombo(CBS_DROPDOWNLIST);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    int state = 1;
    PaintComboBox(combo, nullptr, state, false);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(GetSkinProp<int>(combo, kPropOldState), 2);
    PixelGrid shown = ReadWindow(combo);
    EXPECT_EQ(shown.at(box_.width - 2, 1), RGB(190, 225, 243));  // the pressed strip
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(ComboPainter, SimpleComboIsNeverDrawn) {
    HWND combo = AddCombo(CBS_SIMPLE);
    SetSkinProp(combo, kPropOldState, 0);
    const PixelGrid before = ReadWindow(combo);
    int state = 2;
    PaintComboBox(combo, nullptr, state, true);
    EXPECT_EQ(GetSkinProp<int>(combo, kPropOldState), 0);
    EXPECT_EQ(ReadWindow(combo), before);
}

TEST_F(ComboPainter, DisabledComboShowsThePaleArrowOverItsStateBackground) {
    HWND combo = AddCombo(CBS_DROPDOWN);
    EnableWindow(combo, FALSE);
    Settle();
    int state = 2;
    PaintComboBox(combo, nullptr, state, true);
    PixelGrid shown = ReadWindow(combo);
    EXPECT_EQ(shown.at(ArrowX() + 3, ArrowY() + 3), kPaleArrow);
    EXPECT_EQ(shown.at(box_.width - 2, 1), RGB(190, 225, 243));
}

TEST_F(ComboPainter, ACallersDcGetsTheButton) {
    HWND combo = AddCombo(CBS_DROPDOWNLIST);
    const PixelGrid before = ReadWindow(combo);
    TestSurface target(box_.width, box_.height, RGB(1, 1, 1));
    int state = 2;
    PaintComboBox(combo, target.dc(), state, true);
    EXPECT_EQ(target.at(buttonLeft_, 1), kStripBorder);
    EXPECT_EQ(ReadWindow(combo), before);
}

class HeaderPainter : public PainterTest {
protected:
    static constexpr int kItemWidth = 100;

    HWND AddHeader(int items, const char* text = "Name") {
        HWND header = Parent().AddChild(WC_HEADERA, "", HDS_BUTTONS, 0, 0, 0, 3 * kItemWidth, 24);
        SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     0);
        for (int i = 0; i < items; ++i) {
            HDITEMA item{};
            item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
            item.cxy = kItemWidth;
            item.fmt = HDF_LEFT | HDF_STRING;
            item.pszText = const_cast<char*>(text);
            SendMessageA(header, HDM_INSERTITEMA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
        }
        SetSkinProp(header, kPropHotIndex, -1);
        SetSkinProp(header, kPropPressedIndex, -1);
        Settle();
        GetWindowSize(header, box_);
        return header;
    }
    PixelGrid Paint(HWND header) {
        TestSurface target(box_.width, box_.height, RGB(1, 1, 1));
        DrawWholeHeader(header, target.dc());
        return target.Grid();
    }

    WindowBox box_;
};

TEST_F(HeaderPainter, NoItemsShowsOnlyTheBackgroundColumn) {
    HWND header = AddHeader(0);
    PixelGrid shown = Paint(header);
    for (int y = 0; y < box_.height; ++y) {
        for (int x = 1; x < box_.width; ++x) {
            ASSERT_EQ(shown.at(x, y), shown.at(0, y)) << "(" << x << "," << y << ")";
        }
    }
    EXPECT_EQ(shown.at(0, 0), RGB(234, 245, 254));
    EXPECT_EQ(shown.at(0, box_.height - 1), RGB(192, 218, 242));
}

TEST_F(HeaderPainter, ItemsTakeTheirFramesAndPressedWinsOverHot) {
    HWND header = AddHeader(3);
    SetSkinProp(header, kPropPressedIndex, 1);
    SetSkinProp(header, kPropHotIndex, 1);
    PixelGrid shown = Paint(header);
    EXPECT_EQ(shown.at(5, 0), RGB(234, 245, 254));                             // normal
    EXPECT_EQ(shown.at(kItemWidth + 5, 0), RGB(151, 215, 251));                // pressed
    EXPECT_EQ(shown.at(2 * kItemWidth + 5, 0), RGB(234, 245, 254));            // normal
    EXPECT_EQ(shown.at(kItemWidth - 1, box_.height / 2), RGB(122, 176, 217));  // separator

    SetSkinProp(header, kPropHotIndex, 2);
    shown = Paint(header);
    EXPECT_EQ(shown.at(kItemWidth + 5, 0), RGB(151, 215, 251));
    EXPECT_EQ(shown.at(2 * kItemWidth + 5, 0), RGB(211, 238, 254));  // hover
    // The text is drawn in the middle of the item, away from its top row.
    bool inked = false;
    for (int x = 0; x < kItemWidth && !inked; ++x) {
        inked = shown.at(x, box_.height / 2) == RGB(0, 0, 0);
    }
    EXPECT_TRUE(inked);
}

TEST_F(HeaderPainter, SingleItemRedrawsOnlyThatItem) {
    HWND header = AddHeader(3);
    TestSurface target(box_.width, box_.height, RGB(1, 1, 1));
    EXPECT_EQ(PaintHeaderItem(header, target.dc(), -1, 1), 0);
    EXPECT_EQ(target.Grid(), TestSurface(box_.width, box_.height, RGB(1, 1, 1)).Grid());

    const PixelGrid windowBefore = ReadWindow(header);
    EXPECT_EQ(PaintHeaderItem(header, target.dc(), 1, 1), 0);
    EXPECT_EQ(target.at(kItemWidth + 5, 0), RGB(211, 238, 254));
    EXPECT_EQ(target.at(kItemWidth - 1, 0), RGB(1, 1, 1));
    EXPECT_EQ(target.at(2 * kItemWidth, 0), RGB(1, 1, 1));
    EXPECT_EQ(ReadWindow(header), windowBefore);
}

TEST_F(HeaderPainter, ItemTextsAreCutAt255Characters) {
    const std::string longText(300, 'W');
    HWND header = AddHeader(1, longText.c_str());
    EXPECT_EQ(HeaderItemText(header, 0), std::string(255, 'W'));
    EXPECT_EQ(HeaderItemText(header, 5), "");
}

}  // namespace
}  // namespace quenlo::skin
