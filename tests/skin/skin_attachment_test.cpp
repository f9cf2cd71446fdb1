// Attaching the skin to real window trees and taking it off again.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "skin/engine/skin_attachment.h"
#include "skin/registry/skin_state.h"
#include "skin/engine/skin_window_proc.h"
#include "skin/registry/window_props.h"
#include "skin_engine_fixture.h"

namespace quenlo::skin {
namespace {

using Names = std::set<std::string>;

const Names kButtonProps{"PROCADDR",  "HDC0",    "HDC1",     "HDC2",      "HDC3",
                         "BMP0",      "BMP1",    "BMP2",     "BMP3",      "OLDSTYLE",
                         "MOUSEFLAG", "TIMERID", "OLDSTATE", "ALPHALEVEL"};

BOOL CALLBACK CountOne(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int CountTree(HWND root) {
    int count = 1;
    EnumChildWindows(root, CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool IsSkinned(HWND window) {
    return GetSkinProp<WNDPROC>(window, kPropProcAddr) != nullptr &&
           GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinWndProc);
}

class SkinAttachment : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SkinnedWindowCount, 0);
        frame = form.Add(kUnlistedClass, "", 0, 10, 10, 300, 100);  // a panel with children
        button = CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10,
                                 105, 25, frame, nullptr, nullptr, nullptr);
        combo = form.Add("ComboBox", "", CBS_DROPDOWNLIST, 10, 120, 120, 200);
        header = form.Add(WC_HEADERA, "", 0, 140, 120, 200, 20);
        edit = form.Add("Edit", "text", 0, 10, 160, 120, 22, WS_EX_CLIENTEDGE);
        progress = form.Add(kProgressClass, "", 0, 140, 160, 200, 20);
        buttonStyle = GetWindowLongPtrA(button, GWL_STYLE);
    }
    void TearDown() override {
        RemoveSkin(form.get());
        EXPECT_EQ(SkinnedWindowCount, 0);
    }

    FormWindow form;
    HWND frame{}, button{}, combo{}, header{}, edit{}, progress{};
    LONG_PTR buttonStyle{};
};

TEST_F(SkinAttachment, ApplySkinAttachesEveryWindowOfTheTreeWithItsGroupsProperties) {
    EXPECT_EQ(ApplySkin(form.get()), 1);

    EXPECT_TRUE(SkinImagesBuilt);
    EXPECT_NE(ButtonImage, nullptr);
    EXPECT_EQ(SkinnedWindowCount, CountTree(form.get()));
    for (HWND window : {form.get(), frame, button, combo, header, edit, progress}) {
        EXPECT_TRUE(IsSkinned(window));
    }
    EXPECT_EQ(PropertyNames(button), kButtonProps);
    EXPECT_EQ(PropertyNames(combo), (Names{"PROCADDR", "MOUSEFLAG", "OLDSTATE"}));
    EXPECT_EQ(PropertyNames(header), (Names{"PROCADDR", "MOUSEFLAG", "HDINDEX", "HMINDEX"}));
    EXPECT_EQ(GetSkinProp(header, kPropPressedIndex), -1);
    EXPECT_EQ(GetSkinProp(header, kPropHotIndex), -1);
    for (HWND plain : {form.get(), frame, edit, progress}) {
        EXPECT_EQ(PropertyNames(plain), Names{"PROCADDR"});
    }
}

TEST_F(SkinAttachment, CommandButtonGetsStateBitmapsOwnerDrawAndARoundedRegion) {
    ApplySkin(form.get());

    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(GetObjectType(GetSkinProp<HDC>(button, StateDcProp(n))), OBJ_MEMDC);
        BITMAP bitmap{};
        GetObjectA(GetSkinProp<HBITMAP>(button, StateBitmapProp(n)), sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 105);
        EXPECT_EQ(bitmap.bmHeight, 25);
    }
    EXPECT_EQ(GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetSkinProp<LONG_PTR>(button, kPropOldStyle), buttonStyle);
    EXPECT_EQ(GetSkinProp(button, kPropOldState), kStateNormal);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(button, region), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(region, 0, 0));  // the corner is cut
    EXPECT_TRUE(PtInRegion(region, 52, 0));
    DeleteObject(region);
}

TEST_F(SkinAttachment, SecondApplyChangesNothingAndKeepsTheImages) {
    ApplySkin(form.get());
    const int count = SkinnedWindowCount;
    HDC image = ButtonImage;
    HDC state0 = GetSkinProp<HDC>(button, StateDcProp(0));

    EXPECT_EQ(ApplySkin(form.get()), 0);
    EXPECT_EQ(SkinWindow(button), 0);
    EXPECT_EQ(SkinnedWindowCount, count);
    EXPECT_EQ(ButtonImage, image);
    EXPECT_EQ(GetSkinProp<HDC>(button, StateDcProp(0)), state0);
}

TEST_F(SkinAttachment, PartlySkinnedTreeIsCompletedCountingEachWindowOnce) {
    ApplySkin(button);
    ApplySkin(edit);
    EXPECT_EQ(SkinnedWindowCount, 2);

    EXPECT_EQ(ApplySkin(form.get()), 1);
    EXPECT_EQ(SkinnedWindowCount, CountTree(form.get()));
}

TEST_F(SkinAttachment, FullReleaseFreesEverythingAndTheNextApplyRebuildsAndProbesAgain) {
    ApplySkin(form.get());
    HDC image = ButtonImage;
    HDC state2 = GetSkinProp<HDC>(button, StateDcProp(2));
    HBITMAP bitmap2 = GetSkinProp<HBITMAP>(button, StateBitmapProp(2));

    EXPECT_EQ(RemoveSkin(form.get()), 1);
    EXPECT_EQ(RemoveSkin(form.get()), 0);

    EXPECT_EQ(SkinnedWindowCount, 0);
    EXPECT_FALSE(SkinImagesBuilt);
    EXPECT_EQ(GetObjectType(image), 0u);
    EXPECT_EQ(GetObjectType(state2), 0u);
    EXPECT_EQ(GetObjectType(bitmap2), 0u);
    for (HWND window : {form.get(), frame, button, combo, header, edit, progress}) {
        EXPECT_TRUE(PropertyNames(window).empty());
        EXPECT_NE(GetWindowLongPtrA(window, GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(&SkinWndProc));
    }
    EXPECT_EQ(GetWindowLongPtrA(button, GWL_STYLE), buttonStyle);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(button, region), ERROR);
    DeleteObject(region);

    HasTrackMouseEvent = false;
    ApplySkin(form.get());
    EXPECT_TRUE(SkinImagesBuilt);
    EXPECT_TRUE(HasTrackMouseEvent);  // probed again
    EXPECT_NE(GetObjectType(ButtonImage), 0u);
}

TEST_F(SkinAttachment, DestroyedContainerDetachesAllItsDescendants) {
    HWND panel = form.Add(kUnlistedClass, "", 0, 10, 200, 200, 60);
    HWND inner = CreateWindowExA(0, "#32770", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 60, panel,
                                 nullptr, nullptr, nullptr);
    CreateWindowExA(0, "Button", "x", WS_CHILD | WS_VISIBLE, 5, 5, 60, 20, inner, nullptr, nullptr,
                    nullptr);
    ApplySkin(form.get());
    const int before = SkinnedWindowCount;

    DestroyWindow(inner);
    EXPECT_EQ(SkinnedWindowCount, before - 2);
    DestroyWindow(form.get());
    EXPECT_EQ(SkinnedWindowCount, 0);
    EXPECT_FALSE(SkinImagesBuilt);
}

// Windows the system has already painted show the skin as soon as it is attached, and
// their own look again once it is removed: both directions repaint the whole window.
TEST_F(SkinAttachment, WindowsAlreadyOnScreenChangeTheirLookAtOnceBothWays) {
    constexpr COLORREF kFlatBorder = RGB(84, 165, 213);
    Pump();
    const COLORREF systemEdge = WindowPixel(edit, 0, 0);
    const COLORREF systemButton = WindowPixel(button, 52, 12);
    ASSERT_NE(systemEdge, kFlatBorder);

    ApplySkin(form.get());
    Pump();
    EXPECT_EQ(WindowPixel(edit, 0, 0), kFlatBorder);
    EXPECT_EQ(WindowPixel(button, 52, 12), GetPixel(GetSkinProp<HDC>(button, StateDcProp(0)), 52, 12));
    EXPECT_NE(WindowPixel(button, 52, 12), systemButton);

    RemoveSkin(form.get());
    Pump();
    EXPECT_EQ(WindowPixel(edit, 0, 0), systemEdge);
    EXPECT_EQ(WindowPixel(button, 52, 12), systemButton);
}

TEST_F(SkinAttachment, DisabledButtonStartsDisabled) {
    EnableWindow(button, FALSE);
    ApplySkin(form.get());
    EXPECT_EQ(GetSkinProp(button, kPropOldState), kStateDisabled);
}

TEST_F(SkinAttachment, CheckBoxStyledButtonKeepsItsStyleAndIsNeverBlended) {
    HWND check = form.Add("Button", "check", BS_AUTOCHECKBOX, 10, 200, 100, 20);
    const LONG_PTR style = GetWindowLongPtrA(check, GWL_STYLE);
    ApplySkin(form.get());

    EXPECT_EQ(GetWindowLongPtrA(check, GWL_STYLE), style);
    EXPECT_EQ(PropertyNames(check), kButtonProps);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(check, region), ERROR);
    DeleteObject(region);

    // A paint leaves it to the system: the blend level is untouched.
    InvalidateRect(check, nullptr, TRUE);
    InvalidateRect(button, nullptr, TRUE);
    UpdateWindow(check);
    UpdateWindow(button);
    EXPECT_EQ(GetSkinProp(check, kPropAlphaLevel), 0);
    EXPECT_EQ(GetSkinProp(button, kPropAlphaLevel), 255);
}

}  // namespace
}  // namespace quenlo::skin
