// Routing of messages through the skin's window procedure, and windows that join later.
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

bool IsSkinned(HWND window) {
    return GetSkinProp<WNDPROC>(window, kPropProcAddr) != nullptr;
}

class SkinWindowProc : public ::testing::Test {
protected:
    void TearDown() override {
        RemoveSkin(form.get());
        EXPECT_EQ(SkinnedWindowCount, 0);
    }
    FormWindow form;
};

TEST_F(SkinWindowProc, WindowWithoutPreviousProcedureGetsTheDefaultProcedure) {
    EXPECT_EQ(SkinWndProc(nullptr, kEchoMessage, 0, 0), 0);
    FormMessages().clear();
    // The form is not skinned: SkinWndProc must not guess its procedure.
    EXPECT_EQ(SkinWndProc(form.get(), kEchoMessage, 0, 0), 0);
    EXPECT_EQ(CountFormMessages(kEchoMessage), 0);
    EXPECT_EQ(SkinWndProc(form.get(), WM_GETTEXTLENGTH, 0, 0), 11);  // "engine test"
}

TEST_F(SkinWindowProc, ResizedButtonGetsNewStateBitmapsAtItsNewSize) {
    HWND button = form.Add("Button", "Go", 0, 10, 10, 105, 25);
    ApplySkin(form.get());
    HBITMAP old = GetSkinProp<HBITMAP>(button, StateBitmapProp(1));

    SetWindowPos(button, nullptr, 0, 0, 140, 30, SWP_NOMOVE | SWP_NOZORDER);

    EXPECT_EQ(GetObjectType(old), 0u);
    for (int n = 0; n < 4; ++n) {
        BITMAP bitmap{};
        GetObjectA(GetSkinProp<HBITMAP>(button, StateBitmapProp(n)), sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 140);
        EXPECT_EQ(bitmap.bmHeight, 30);
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(button, region);
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 140);
    DeleteObject(region);
}

bool SameStatePictures(HWND a, HWND b, int width, int height) {
    for (int n = 0; n < 4; ++n) {
        HDC left = GetSkinProp<HDC>(a, StateDcProp(n));
        HDC right = GetSkinProp<HDC>(b, StateDcProp(n));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (GetPixel(left, x, y) != GetPixel(right, x, y)) {
                    return false;
                }
            }
        }
    }
    return true;
}

TEST_F(SkinWindowProc, NewCaptionOfASkinnedButtonIsRenderedIntoItsStatePictures) {
    HWND button = form.Add("Button", "Start", 0, 10, 10, 105, 25);
    HWND reference = form.Add("Button", "Stop", 0, 10, 50, 105, 25);
    ApplySkin(form.get());
    ASSERT_FALSE(SameStatePictures(button, reference, 105, 25));

    EXPECT_TRUE(SetWindowTextA(button, "Stop"));

    char caption[16]{};
    GetWindowTextA(button, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Stop");  // the button itself still took the text
    EXPECT_TRUE(SameStatePictures(button, reference, 105, 25));
}

// The message box's own window, once it has come up and been seen skinned or not.
struct MessageBoxProbe {
    bool boxSkinned = false;
    bool buttonSkinned = false;
    bool seen = false;
};
MessageBoxProbe probe;

void CALLBACK InspectAndCloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", "box title");
    if (box == nullptr || GetActiveWindow() != box) {
        return;
    }
    KillTimer(nullptr, timer);
    probe.seen = true;
    probe.boxSkinned = IsSkinned(box);
    HWND okButton = FindWindowExA(box, nullptr, "Button", nullptr);
    probe.buttonSkinned = okButton != nullptr && IsSkinned(okButton);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SkinWindowProc, MessageBoxOfASkinnedWindowIsSkinnedWhenItActivatesButtonsIncluded) {
    FormWindow owner(300, 200, true);
    ApplySkin(owner.get());
    const int before = SkinnedWindowCount;
    probe = {};
    SetTimer(nullptr, 0, 50, InspectAndCloseMessageBox);

    MessageBoxA(owner.get(), "text", "box title", MB_OK);

    EXPECT_TRUE(probe.seen);
    EXPECT_TRUE(probe.boxSkinned);
    EXPECT_TRUE(probe.buttonSkinned);
    EXPECT_EQ(SkinnedWindowCount, before);  // the box detached itself when it went
    RemoveSkin(owner.get());
}

TEST_F(SkinWindowProc, DropDownListIsSkinnedOnceHoweverOftenItOpens) {
    HWND combo = form.Add("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL, 10, 10, 120, 150);
    for (const char* item : {"one", "two", "three"}) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    ApplySkin(form.get());
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(combo, &info);
    const int before = SkinnedWindowCount;

    for (int open = 0; open < 3; ++open) {
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        UpdateWindow(info.hwndList);
        Pump();
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        Pump();
    }

    EXPECT_TRUE(IsSkinned(info.hwndList));
    EXPECT_EQ(SkinnedWindowCount, before + 1);

    // The list is no descendant of the form: it stays skinned until the combo box
    // destroys it, and only then are the images released.
    RemoveSkin(form.get());
    EXPECT_EQ(SkinnedWindowCount, 1);
    DestroyWindow(combo);
    EXPECT_EQ(SkinnedWindowCount, 0);
    EXPECT_FALSE(SkinImagesBuilt);
}

TEST_F(SkinWindowProc, EditColoursAreAnsweredOnWhite) {
    HWND edit = form.Add("Edit", "x", 0, 10, 10, 100, 20);
    ApplySkin(form.get());
    HDC dc = GetDC(edit);
    SetBkColor(dc, RGB(1, 2, 3));
    SendMessageA(form.get(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    ReleaseDC(edit, dc);
}

}  // namespace
}  // namespace quenlo::skin
