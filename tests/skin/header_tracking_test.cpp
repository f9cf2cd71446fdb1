// Hot and pressed items of a skinned header as the mouse moves, drags and leaves.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "skin/engine/skin_attachment.h"
#include "skin/registry/window_props.h"
#include "skin_engine_fixture.h"

namespace quenlo::skin {
namespace {

class HeaderTracking : public ::testing::Test {
protected:
    void SetUp() override {
        header = form.Add(WC_HEADERA, "", 0, 10, 10, 200, 22);
        for (const char* text : {"名称", "大小"}) {
            HDITEMA item{};
            item.mask = HDI_TEXT | HDI_WIDTH;
            item.cxy = 80;
            item.pszText = const_cast<char*>(text);
            SendMessageA(header, HDM_INSERTITEMA, 10, reinterpret_cast<LPARAM>(&item));
        }
        ApplySkin(form.get());
        Pump();
    }
    void TearDown() override {
        ReleaseCapture();
        RemoveSkin(form.get());
    }
    void Move(int x, WPARAM buttons = 0) {
        SendMessageA(header, WM_MOUSEMOVE, buttons, MAKELPARAM(x, 8));
    }
    int Hot() const { return static_cast<int>(GetSkinProp(header, kPropHotIndex)); }
    int Pressed() const { return static_cast<int>(GetSkinProp(header, kPropPressedIndex)); }

    FormWindow form;
    HWND header{};
};

TEST_F(HeaderTracking, MovingAcrossItemsFollowsTheMouseAndLeavingClearsBoth) {
    Move(10);
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(GetSkinProp(header, kPropMouseFlag), 1);
    Move(100);
    EXPECT_EQ(Hot(), 1);
    Move(190);  // past the last item
    EXPECT_EQ(Hot(), -1);
    Move(100);

    SendMessageA(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Hot(), -1);
    EXPECT_EQ(Pressed(), -1);
    EXPECT_EQ(GetSkinProp(header, kPropMouseFlag), 0);
}

TEST_F(HeaderTracking, HoverItemIsPaintedInTheHoverFrame) {
    const COLORREF before = WindowPixel(header, 120, 5);
    Move(100);
    const COLORREF hover = WindowPixel(header, 120, 5);
    EXPECT_NE(hover, before);
    Move(10);
    EXPECT_EQ(WindowPixel(header, 120, 5), before);
}

TEST_F(HeaderTracking, DragKeepsTheHotItemAndShowsThePressedItemOnlyOverIt) {
    Move(10);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
    EXPECT_EQ(Pressed(), 0);

    Move(100, MK_LBUTTON);
    EXPECT_EQ(Hot(), 0);  // unchanged during the drag
    const COLORREF pressedLook = WindowPixel(header, 40, 5);
    Move(10, MK_LBUTTON);
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(WindowPixel(header, 40, 5), pressedLook);

    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
    EXPECT_EQ(Pressed(), -1);
}

TEST_F(HeaderTracking, ButtonDownOnAHeaderWithoutItemsKeepsThePressedIndex) {
    HWND empty = form.Add(WC_HEADERA, "", 0, 10, 60, 200, 22);
    ApplySkin(empty);
    SetSkinProp(empty, kPropPressedIndex, INT_PTR{5});
    SendMessageA(empty, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
    EXPECT_EQ(GetSkinProp(empty, kPropPressedIndex), 5);
    SendMessageA(empty, WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
}

}  // namespace
}  // namespace quenlo::skin
