// Check boxes, option buttons, combo boxes, drive lists and headers in their skin under
// a real mouse: what each shows and keeps as the cursor comes, presses, drags and goes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "skin/engine/skin_attachment.h"
#include "skin/common/rounding.h"
#include "skin/painting/primitives.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "live_input.h"
#include "skin_engine_fixture.h"

namespace quenlo::skin {
namespace {

int Prop(HWND window, const char* name) {
    return static_cast<int>(GetSkinProp<INT_PTR>(window, name));
}

class LiveControls : public ::testing::Test {
protected:
    void SetUp() override { RegisterEngineTestClasses(); }
    void TearDown() override {
        ReleaseLeft();
        RemoveSkin(form.get());
        EXPECT_EQ(SkinnedWindowCount, 0);
    }
    // Skins the form, makes it the active window and parks the mouse on its empty corner.
    void Skin() {
        ApplySkin(form.get());
        BringToFront(GetAncestor(form.get(), GA_ROOT));
        Park();
    }
    void Park() { MoveMouseTo(ScreenPoint(form.get(), 440, 280)); }

    FormWindow form{460, 300};
};

// --- check boxes and option buttons -----------------------------------------------

constexpr int kGlyphRowHeight = 17;

struct Glyph {
    int cx = GetSystemMetrics(SM_CXMENUCHECK);
    int cy = GetSystemMetrics(SM_CYMENUCHECK);
    int top = CentredOffset(kGlyphRowHeight, cy);
};

TEST_F(LiveControls, CheckBoxLightsUnderTheMouseAndShowsItsNewMarkRightAfterTheClick) {
    HWND check = form.Add(kCheckBoxClass, "check", BS_AUTOCHECKBOX, 20, 20, 120, kGlyphRowHeight);
    Skin();
    const Glyph box;
    const int markX = CentredOffset(box.cx, 9);
    const int markY = box.top + CentredOffset(box.cy, 8);
    const COLORREF markTip = GetPixel(MarkImage, 8, 0);
    const COLORREF hoverFill = GetPixel(OptionImage, 1, 17);
    ASSERT_NE(hoverFill, RGB(255, 255, 255));

    MoveMouseTo(ScreenPoint(check, 40, 8));
    EXPECT_EQ(Prop(check, kPropOldState), kStateHover);
    EXPECT_EQ(Prop(check, kPropMouseFlag), 1);
    EXPECT_EQ(WindowPixel(check, 0, box.top), kBorderColour);
    EXPECT_EQ(WindowPixel(check, 1, box.top + 1), hoverFill);

    PressLeft();
    EXPECT_EQ(Prop(check, kPropOldState), kStatePressed);
    EXPECT_EQ(WindowPixel(check, 0, box.top), kPressedCheckFrameColour);
    EXPECT_NE(WindowPixel(check, markX + 8, markY), markTip);

    // Read before any paint or later move can come: the release itself must repaint.
    ReleaseLeftOnly();
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Prop(check, kPropOldState), kStateNormal);
    EXPECT_EQ(WindowPixel(check, 0, box.top), kBorderColour);
    EXPECT_EQ(WindowPixel(check, 1, box.top + 1), RGB(255, 255, 255));
    EXPECT_EQ(WindowPixel(check, markX + 8, markY), markTip);

    Park();
    EXPECT_TRUE(PumpUntil([&] { return Prop(check, kPropMouseFlag) == 0; }));
    EXPECT_EQ(Prop(check, kPropOldState), kStateNormal);
    EXPECT_EQ(WindowPixel(check, 1, box.top + 1), RGB(255, 255, 255));
    EXPECT_EQ(WindowPixel(check, markX + 8, markY), markTip);
}

// Underneath the skin: the system's own drawing of a held check box, made at once on
// every move with the button down, as the classic button control draws its pushed
// state (Wine's waits for the next paint, which the skin answers anyway).
WNDPROC systemCheckProc = nullptr;
LRESULT CALLBACK DrawsItselfAtOnceWhileHeld(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    const LRESULT result = CallWindowProcA(systemCheckProc, window, message, wParam, lParam);
    if (message == WM_MOUSEMOVE && (wParam & MK_LBUTTON) != 0) {
        HDC dc = GetDC(window);
        RECT all{};
        GetClientRect(window, &all);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(window, dc);
    }
    return result;
}

TEST_F(LiveControls, HeldCheckBoxUnderTheMouseIsPaintedPressedAgainOverTheSystemsDrawing) {
    HWND check = form.Add(kCheckBoxClass, "check", BS_AUTOCHECKBOX, 20, 20, 120, kGlyphRowHeight);
    systemCheckProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        check, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DrawsItselfAtOnceWhileHeld)));
    Skin();
    const Glyph box;
    const COLORREF pressedFill = GetPixel(OptionImage, 1, 30);
    MoveMouseTo(ScreenPoint(check, 40, 8));
    PressLeft();
    ASSERT_EQ(Prop(check, kPropOldState), kStatePressed);

    // The state is already "pressed": only a forced paint puts the box back.
    MoveMouseTo(ScreenPoint(check, 60, 8));
    EXPECT_EQ(Prop(check, kPropOldState), kStatePressed);
    EXPECT_EQ(WindowPixel(check, 0, box.top), kPressedCheckFrameColour);
    EXPECT_EQ(WindowPixel(check, 1, box.top + 1), pressedFill);
}

TEST_F(LiveControls, SpaceOnAFocusedCheckBoxPressesAndReleasesIt) {
    HWND check = form.Add(kCheckBoxClass, "check", BS_AUTOCHECKBOX, 20, 20, 120, kGlyphRowHeight);
    Skin();
    const Glyph box;
    SetFocus(check);
    PumpWithoutTimers();

    PressKey('A');
    EXPECT_EQ(Prop(check, kPropOldState), kStateNormal);
    PressKey(VK_SPACE);
    EXPECT_EQ(Prop(check, kPropOldState), kStatePressed);
    EXPECT_EQ(WindowPixel(check, 0, box.top), kPressedCheckFrameColour);
    ReleaseKey(VK_SPACE);
    EXPECT_EQ(Prop(check, kPropOldState), kStateNormal);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(WindowPixel(check, 0, box.top), kBorderColour);
}

TEST_F(LiveControls, OptionButtonsFollowTheMouseAndAClickTakesTheDotOffTheNeighbourAtOnce) {
    HWND first = form.Add(kOptionButtonClass, "first", BS_AUTORADIOBUTTON | WS_GROUP, 20, 20, 120,
                          kGlyphRowHeight);
    HWND second =
        form.Add(kOptionButtonClass, "second", BS_AUTORADIOBUTTON, 20, 50, 120, kGlyphRowHeight);
    SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
    Skin();
    const Glyph circle;
    const int dotX = CentredOffset(circle.cx, 5) + 2;
    const int dotY = circle.top + CentredOffset(circle.cy, 5) + 2;
    const COLORREF dot = GetPixel(MarkImage, 2 + 2, 18 + 2);
    ASSERT_EQ(WindowPixel(first, dotX, dotY), dot);
    ASSERT_NE(WindowPixel(second, dotX, dotY), dot);

    // The fill inside the circle's corner tells the frame of OptionImage it came from.
    const auto ring = [&](HWND option) { return WindowPixel(option, 3, circle.top + 3); };
    const COLORREF rings[] = {GetPixel(OptionImage, 3, 3), GetPixel(OptionImage, 3, 13 + 3),
                              GetPixel(OptionImage, 3, 26 + 3)};
    ASSERT_NE(rings[0], rings[1]);
    ASSERT_NE(rings[1], rings[2]);

    MoveMouseTo(ScreenPoint(first, 40, 8));
    EXPECT_EQ(Prop(first, kPropOldState), kStateHover);
    EXPECT_EQ(Prop(first, kPropMouseFlag), 1);
    EXPECT_EQ(ring(first), rings[kStateHover]);
    SetFocus(first);  // a focus change shows the circle at rest
    EXPECT_EQ(Prop(first, kPropOldState), kStateNormal);
    EXPECT_EQ(ring(first), rings[kStateNormal]);
    MoveMouseTo(ScreenPoint(second, 40, 8));
    EXPECT_TRUE(PumpUntil([&] { return Prop(first, kPropMouseFlag) == 0; }));
    EXPECT_EQ(Prop(first, kPropOldState), kStateNormal);
    EXPECT_EQ(ring(first), rings[kStateNormal]);
    EXPECT_EQ(Prop(second, kPropOldState), kStateHover);
    PressLeft();
    EXPECT_EQ(ring(second), rings[kStatePressed]);
    EXPECT_EQ(Prop(second, kPropOldState), kStatePressed);
    ReleaseLeftOnly();

    EXPECT_EQ(SendMessageA(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_NE(WindowPixel(first, dotX, dotY), dot);
    EXPECT_EQ(WindowPixel(second, dotX, dotY), dot);
    // Both in the skin's normal circle, not the system's.
    EXPECT_EQ(ring(first), rings[kStateNormal]);
    EXPECT_EQ(ring(second), rings[kStateNormal]);
}

// --- combo boxes and drive lists --------------------------------------------------

struct ZonePoint {
    const char* where;
    int x;  // from the right edge when negative
    int y;  // from the bottom edge when negative
    int state;
};

TEST_F(LiveControls, EditableComboLightsItsArrowOnlyInsideTheArrowZone) {
    HWND combo = form.Add("ComboBox", "", CBS_DROPDOWN, 20, 20, 150, 150);
    Skin();
    RECT box{};
    GetWindowRect(combo, &box);
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int v = GetSystemMetrics(SM_CXVSCROLL);

    const ZonePoint points[] = {
        {"left of the zone", w - v - 3, h / 2, kStateNormal},
        {"its left edge", w - v - 2, h / 2, kStateHover},
        {"its right edge", w - 2, h / 2, kStateHover},
        {"right of the zone", w - 1, h / 2, kStateNormal},
        {"above the zone", w - 8, 1, kStateNormal},
        {"its top edge", w - 8, 2, kStateHover},
        {"its bottom edge", w - 8, h - 2, kStateHover},
        {"below the zone", w - 8, h - 1, kStateNormal},
    };
    for (const ZonePoint& point : points) {
        SCOPED_TRACE(point.where);
        SendMessageA(combo, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        EXPECT_EQ(Prop(combo, kPropOldState), point.state);
    }
    SendMessageA(combo, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(w - 8, h / 2));
    EXPECT_EQ(Prop(combo, kPropOldState), kStatePressed);

    // A press on the text part paints no pressed arrow; one in the zone does.
    SendMessageA(combo, WM_MOUSELEAVE, 0, 0);
    ASSERT_EQ(Prop(combo, kPropOldState), kStateNormal);
    SendMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - v - 3, h / 2));
    EXPECT_EQ(Prop(combo, kPropOldState), kStateNormal);
    SendMessageA(combo, WM_LBUTTONUP, 0, MAKELPARAM(w - v - 3, h / 2));
    SendMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 8, h / 2));
    EXPECT_EQ(Prop(combo, kPropOldState), kStatePressed);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(LiveControls, DropDownListComboCountsAsArrowEverywhere) {
    HWND combo = form.Add("ComboBox", "", CBS_DROPDOWNLIST, 20, 20, 150, 150);
    Skin();
    SendMessageA(combo, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Prop(combo, kPropOldState), kStateHover);
    SendMessageA(combo, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(Prop(combo, kPropOldState), kStatePressed);
    SendMessageA(combo, WM_MOUSELEAVE, 0, 0);
    SendMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(Prop(combo, kPropOldState), kStatePressed);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

// The arrow button's background at its top-left inner pixel, on screen.
COLORREF ArrowBackground(HWND combo) {
    RECT box{};
    GetWindowRect(combo, &box);
    const int buttonWidth = GetSystemMetrics(SM_CXVSCROLL) + 1;
    return WindowPixel(combo, box.right - box.left - buttonWidth - 1 + 1, 2);
}

TEST_F(LiveControls, ComboAndDriveListLightUnderTheMouseAndGoBackWhenItLeaves) {
    HWND combo = form.Add("ComboBox", "", CBS_DROPDOWNLIST, 20, 20, 150, 150);
    HWND drives = form.Add(kDriveListClass, "", CBS_DROPDOWNLIST, 20, 80, 150, 150);
    Skin();
    const COLORREF hoverStrip = GetPixel(ComboButtonImage, 1, 1);
    ASSERT_NE(hoverStrip, RGB(255, 255, 255));

    for (HWND control : {combo, drives}) {
        SCOPED_TRACE(control == combo ? "combo box" : "drive list");
        EXPECT_EQ(ArrowBackground(control), RGB(255, 255, 255));
        MoveMouseTo(ScreenPoint(control, 10, 5));
        EXPECT_EQ(Prop(control, kPropOldState), kStateHover);
        EXPECT_EQ(Prop(control, kPropMouseFlag), 1);
        EXPECT_EQ(ArrowBackground(control), hoverStrip);

        Park();
        EXPECT_TRUE(PumpUntil([&] { return Prop(control, kPropMouseFlag) == 0; }));
        EXPECT_EQ(Prop(control, kPropOldState), kStateNormal);
        EXPECT_EQ(ArrowBackground(control), RGB(255, 255, 255));
    }
}

TEST_F(LiveControls, DriveListPressesAnywhereAndReleasesToHoverOnlyUnderTheCursor) {
    HWND drives = form.Add(kDriveListClass, "", CBS_DROPDOWNLIST, 20, 80, 150, 150);
    Skin();
    SendMessageA(drives, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(Prop(drives, kPropOldState), kStatePressed);
    SendMessageA(drives, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Prop(drives, kPropOldState), kStateHover);
    SendMessageA(drives, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));  // the cursor is parked elsewhere
    EXPECT_EQ(Prop(drives, kPropOldState), kStateNormal);
    SetCursorPos(CentreOf(drives).x, CentreOf(drives).y);
    SendMessageA(drives, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Prop(drives, kPropOldState), kStateHover);
    SendMessageA(drives, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Prop(drives, kPropOldState), kStateNormal);
    Park();
}

// --- headers -----------------------------------------------------------------------

constexpr int kItemWidth = 80;
constexpr int kHeaderHeight = 20;

class LiveHeader : public LiveControls {
protected:
    void SetUp() override {
        LiveControls::SetUp();
        header = form.Add(WC_HEADERA, "", HDS_BUTTONS, 20, 100, 200, kHeaderHeight);
        for (const char* text : {"名称", "大小"}) {
            HDITEMA item{};
            item.mask = HDI_TEXT | HDI_WIDTH;
            item.cxy = kItemWidth;
            item.pszText = const_cast<char*>(text);
            SendMessageA(header, HDM_INSERTITEMA, 10, reinterpret_cast<LPARAM>(&item));
        }
        Skin();
        for (int frame = 0; frame < 3; ++frame) {
            frames[frame] = GetPixel(HeaderImage, 3 * frame + 1, 3);
        }
        ASSERT_NE(frames[0], frames[1]);
        ASSERT_NE(frames[1], frames[2]);
        ASSERT_NE(frames[0], frames[2]);
    }
    int Hot() const { return Prop(header, kPropHotIndex); }
    int Pressed() const { return Prop(header, kPropPressedIndex); }
    void MoveTo(int x) { MoveMouseTo(ScreenPoint(header, x, 10)); }
    // The frame an item shows on screen: 0 normal, 1 hover, 2 pressed, -1 none of them.
    int Look(int item) const {
        const COLORREF shown = WindowPixel(header, item * kItemWidth + 3, 3);
        for (int frame = 0; frame < 3; ++frame) {
            if (shown == frames[frame]) {
                return frame;
            }
        }
        return -1;
    }

    HWND header{};
    COLORREF frames[3]{};
};

TEST_F(LiveHeader, HotItemFollowsTheMouseAndLeavingPutsItBack) {
    EXPECT_EQ(Look(0), 0);
    EXPECT_EQ(Look(1), 0);
    MoveTo(40);
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(Look(0), 1);
    EXPECT_EQ(Look(1), 0);

    MoveTo(120);
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(Look(0), 0);
    EXPECT_EQ(Look(1), 1);

    MoveTo(190);  // past the last item
    EXPECT_EQ(Hot(), -1);
    EXPECT_EQ(Look(1), 0);

    // The edge both items share belongs to the first.
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(kItemWidth, 10));
    EXPECT_EQ(Hot(), 0);
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(kItemWidth + 1, 10));
    EXPECT_EQ(Hot(), 1);

    // A press the header has let go of again still counts until the mouse leaves.
    MoveTo(120);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 10));
    ReleaseCapture();
    ASSERT_EQ(Pressed(), 1);
    Park();
    EXPECT_TRUE(PumpUntil([&] { return Prop(header, kPropMouseFlag) == 0; }));
    EXPECT_EQ(Hot(), -1);
    EXPECT_EQ(Pressed(), -1);
    EXPECT_EQ(Look(1), 0);
}

TEST_F(LiveHeader, DragShowsThePressedItemAndLightsNoOtherItem) {
    MoveTo(40);
    PressLeft();
    EXPECT_EQ(Pressed(), 0);
    EXPECT_EQ(Look(0), 2);

    // Read before the header's own repaint: the drag itself must leave the pressed
    // item pressed and light no other.
    SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 10));
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(Look(0), 2);
    EXPECT_EQ(Look(1), 0);

    MoveTo(120);  // dragged onto the next item
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(Pressed(), 0);
    EXPECT_EQ(Look(0), 2);
    EXPECT_EQ(Look(1), 0);

    MoveTo(40);  // and back
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(Look(0), 2);
    EXPECT_EQ(Look(1), 0);

    ReleaseLeft();
    EXPECT_EQ(Pressed(), -1);
    EXPECT_EQ(Look(0), 1);
}

TEST_F(LiveHeader, DragOverThePressedItemShowsItPressedAndPutsTheOldHotItemBack) {
    // Item 1 is hot when the button goes down on item 0 (as after a move the header
    // missed): the drag onto item 0 repaints item 1 normal and item 0 pressed.
    MoveTo(120);
    ASSERT_EQ(Hot(), 1);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 10));
    ASSERT_EQ(Pressed(), 0);
    SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 10));
    EXPECT_EQ(Hot(), 1);  // unchanged while the button is down
    EXPECT_EQ(Look(1), 0);
    EXPECT_EQ(Look(0), 2);
    SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 10));
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(Look(0), 2);  // the pressed item is never painted normal by the drag
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(190, 10));
    EXPECT_EQ(Pressed(), -1);
}

TEST_F(LiveControls, ButtonDownOnAHeaderWithoutItemsKeepsThePressedIndex) {
    HWND empty = form.Add(WC_HEADERA, "", 0, 10, 60, 200, 22);
    Skin();
    SetSkinProp(empty, kPropPressedIndex, INT_PTR{5});
    SendMessageA(empty, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
    EXPECT_EQ(Prop(empty, kPropPressedIndex), 5);
    SendMessageA(empty, WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
}

}  // namespace
}  // namespace quenlo::skin
