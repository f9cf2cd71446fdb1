// The gallery as the skin's tests and people rely on it: every control there, found by
// its name and skinned; every class group of the skin live in it; progress bars the
// skin draws at the positions they hold; its two buttons opening skinned dialogs.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "demos/gallery/gallery_window.h"
#include "skin/registry/class_groups.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin/registry/window_queries.h"
#include "screen_reader.h"

namespace quenlo::gallery {
namespace {

using skin::ClassGroup;

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class GalleryTest : public testing::Test {
protected:
    void SetUp() override {
        gallery_ = CreateGalleryWindow();
        ASSERT_NE(gallery_, nullptr);
        Pump();
    }
    void TearDown() override {
        if (IsWindow(gallery_)) {
            SendMessageA(gallery_, WM_CLOSE, 0, 0);
        }
        Pump();
    }
    HWND Control(GalleryControl id) const { return GalleryControlWindow(gallery_, id); }

    HWND gallery_ = nullptr;
};

TEST_F(GalleryTest, EveryControlIsFoundByItsNameAndIsSkinned) {
    EXPECT_NE(skin::GetSkinProp(gallery_, skin::kPropProcAddr), 0);
    for (int i = 0; i < static_cast<int>(kGalleryControlCount); ++i) {
        const auto id = static_cast<GalleryControl>(i);
        const std::string name(GalleryControlName(id));
        SCOPED_TRACE(name);
        EXPECT_EQ(GalleryControlNamed(name), id);
        const HWND control = Control(id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_NE(skin::GetSkinProp(control, skin::kPropProcAddr), 0);
    }
    EXPECT_EQ(GalleryControlNamed("NoSuchControl"), std::nullopt);
    EXPECT_EQ(GalleryControlName(GalleryControl::Window), "Window");
    EXPECT_EQ(GalleryControlWindow(gallery_, GalleryControl::Window), nullptr);
    EXPECT_EQ(GalleryControlWindow(GetDesktopWindow(), GalleryControl::ButtonNormal), nullptr);
}

TEST_F(GalleryTest, EveryClassGroupOfTheSkinRunsLiveInTheGallery) {
    std::set<ClassGroup> groups = {skin::ClassGroupOfWindow(gallery_)};
    for (int i = 0; i < static_cast<int>(kGalleryControlCount); ++i) {
        groups.insert(skin::ClassGroupOfWindow(Control(static_cast<GalleryControl>(i))));
    }
    // The list of a simple combo box is a child of it, there from the start.
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    ASSERT_TRUE(GetComboBoxInfo(Control(GalleryControl::ComboSimple), &combo));
    groups.insert(skin::ClassGroupOfWindow(combo.hwndList));

    for (int group = 0; group <= static_cast<int>(ClassGroup::Other); ++group) {
        EXPECT_TRUE(groups.contains(static_cast<ClassGroup>(group))) << "group " << group;
    }
}

TEST_F(GalleryTest, LookAlikesBehaveAsTheSystemControlsTheyStandFor) {
    EXPECT_EQ(SendMessageA(Control(GalleryControl::CheckGrey), BM_GETCHECK, 0, 0),
              BST_INDETERMINATE);
    EXPECT_EQ(SendMessageA(Control(GalleryControl::OptionDisabledChecked), BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_GE(SendMessageA(Control(GalleryControl::DriveList), CB_GETCOUNT, 0, 0), 1);
    EXPECT_GE(SendMessageA(Control(GalleryControl::DriveList), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(Control(GalleryControl::Header), HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(Control(GalleryControl::ListViewHeader), HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(Control(GalleryControl::DataList), LB_GETCOUNT, 0, 0), 4);
}

// A reader hears each check box and option button as one, with the mark it shows; a
// click changes what is heard.
TEST_F(GalleryTest, ScreenReadersHearEveryCheckBoxAndOptionButtonWithItsMark) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    struct Expected {
        GalleryControl id;
        long role;
        long mark;  // STATE_SYSTEM_CHECKED, STATE_SYSTEM_MIXED or 0
    };
    const auto expectHeard = [&](const Expected& expected) {
        HWND control = Control(expected.id);
        SCOPED_TRACE(WindowText(control));
        const skin::Heard heard = skin::AskReader(control);
        EXPECT_EQ(heard.role, expected.role);
        EXPECT_EQ(heard.state & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED), expected.mark);
        EXPECT_EQ(heard.state & STATE_SYSTEM_UNAVAILABLE,
                  IsWindowEnabled(control) ? 0 : STATE_SYSTEM_UNAVAILABLE);
        EXPECT_EQ(heard.name, WindowText(control));
    };
    constexpr long kCheck = ROLE_SYSTEM_CHECKBUTTON;
    constexpr long kOption = ROLE_SYSTEM_RADIOBUTTON;
    for (const Expected& expected : {
             Expected{GalleryControl::CheckUnchecked, kCheck, 0},
             Expected{GalleryControl::CheckChecked, kCheck, STATE_SYSTEM_CHECKED},
             Expected{GalleryControl::CheckGrey, kCheck, STATE_SYSTEM_MIXED},
             Expected{GalleryControl::CheckDisabled, kCheck, STATE_SYSTEM_CHECKED},
             Expected{GalleryControl::SystemCheckBox, kCheck, 0},
             Expected{GalleryControl::OptionChecked, kOption, STATE_SYSTEM_CHECKED},
             Expected{GalleryControl::OptionUnchecked, kOption, 0},
             Expected{GalleryControl::OptionDisabledChecked, kOption, STATE_SYSTEM_CHECKED},
         }) {
        expectHeard(expected);
    }

    SendMessageA(Control(GalleryControl::CheckUnchecked), BM_CLICK, 0, 0);
    SendMessageA(Control(GalleryControl::OptionUnchecked), BM_CLICK, 0, 0);
    Pump();
    for (const Expected& expected : {
             Expected{GalleryControl::CheckUnchecked, kCheck, STATE_SYSTEM_CHECKED},
             Expected{GalleryControl::OptionChecked, kOption, 0},
             Expected{GalleryControl::OptionUnchecked, kOption, STATE_SYSTEM_CHECKED},
         }) {
        expectHeard(expected);
    }
    CoUninitialize();
}

// The skin reads a bar's position against a fixed 30000 and frames it in the border
// around the client area: a bar must hold its position on that scale, and have a border.
TEST_F(GalleryTest, ProgressBarsHoldTheirPositionsOnTheSkinsScaleInsideABorder) {
    const std::pair<GalleryControl, int> bars[] = {
        {GalleryControl::ProgressEmpty, 0},
        {GalleryControl::ProgressThird, kProgressFullScale / 3},
        {GalleryControl::ProgressHalfSmooth, kProgressFullScale / 2},
        {GalleryControl::ProgressFull, kProgressFullScale},
        {GalleryControl::ProgressVertical, kProgressFullScale * 2 / 3},
        {GalleryControl::ProgressVerticalSmooth, kProgressFullScale / 3},
    };
    for (const auto& [id, position] : bars) {
        SCOPED_TRACE(std::string(GalleryControlName(id)));
        const HWND bar = Control(id);
        EXPECT_EQ(skin::ClassGroupOfWindow(bar), ClassGroup::ProgressBar);
        EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), position);
        int borderX = 0;
        int borderY = 0;
        skin::GetBorderMetrics(bar, borderX, borderY);
        EXPECT_GE(borderX, 1);
        EXPECT_GE(borderY, 1);
    }
}

// Answers the first dialog that appears on this thread, once, from a timer: the
// modal loop of the dialog keeps dispatching it.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int answer) : answer_(answer) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, OnTick);
    }
    ~DialogAnswerer() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    HWND dialog() const { return dialog_; }
    bool dialogWasSkinned() const { return skinned_; }
    HWND owner() const { return owner_; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
        DialogAnswerer* self = current_;
        if (!self || self->dialog_) {
            return;
        }
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(self));
        if (self->dialog_) {
            // The skin takes a dialog on as it is activated, before it goes idle.
            self->skinned_ = skin::GetSkinProp(self->dialog_, skin::kPropProcAddr) != 0;
            self->owner_ = GetWindow(self->dialog_, GW_OWNER);
            PostMessageA(self->dialog_, WM_COMMAND, static_cast<WPARAM>(self->answer_), 0);
        }
    }
    static BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770" && IsWindowVisible(window)) {
            reinterpret_cast<DialogAnswerer*>(context)->dialog_ = window;
            return FALSE;
        }
        return TRUE;
    }

    static inline DialogAnswerer* current_ = nullptr;
    int answer_;
    UINT_PTR timer_ = 0;
    HWND dialog_ = nullptr;
    HWND owner_ = nullptr;
    bool skinned_ = false;
};

TEST_F(GalleryTest, MessageBoxButtonShowsASkinnedBoxAndReportsTheAnswer) {
    DialogAnswerer answerer(IDCANCEL);
    SendMessageA(Control(GalleryControl::MessageBoxButton), BM_CLICK, 0, 0);
    ASSERT_NE(answerer.dialog(), nullptr);
    EXPECT_EQ(answerer.owner(), gallery_);
    EXPECT_TRUE(answerer.dialogWasSkinned());
    EXPECT_EQ(WindowText(Control(GalleryControl::StatusLabel)), "消息框的回答：取消");
}

TEST_F(GalleryTest, OpenFileButtonShowsASkinnedDialogAndReportsACancel) {
    DialogAnswerer answerer(IDCANCEL);
    SendMessageA(Control(GalleryControl::OpenFileButton), BM_CLICK, 0, 0);
    ASSERT_NE(answerer.dialog(), nullptr);
    EXPECT_EQ(answerer.owner(), gallery_);
    EXPECT_TRUE(answerer.dialogWasSkinned());
    EXPECT_EQ(WindowText(Control(GalleryControl::StatusLabel)), "打开文件对话框：已取消");
}

// Laptops at 150 % often have a 1280 x 1024 desktop; the whole window must be on it,
// caption and close button included, and every control inside the client area.
TEST(GalleryAtScale, FitsA1280By1024ScreenAt150PercentAndOpensFullyOnIt) {
    GalleryOptions options;
    options.showCommand = SW_HIDE;
    options.dpi = 144;
    const HWND gallery = CreateGalleryWindow(options);
    ASSERT_NE(gallery, nullptr);
    RECT outer{};
    GetWindowRect(gallery, &outer);
    EXPECT_GE(outer.left, 0);
    EXPECT_GE(outer.top, 0);
    EXPECT_LE(outer.right - outer.left, 1280);
    EXPECT_LE(outer.bottom - outer.top, 1024);
    if (GetSystemMetrics(SM_CXSCREEN) == 1280 && GetSystemMetrics(SM_CYSCREEN) == 1024) {
        EXPECT_LE(outer.right, 1280);
        EXPECT_LE(outer.bottom, 1024);
    }
    for (const GalleryRow& row : GalleryLayout()) {
        if (row.container != GalleryControl::Window) {
            continue;
        }
        RECT place{};
        GetWindowRect(GalleryControlWindow(gallery, row.id), &place);
        MapWindowPoints(nullptr, gallery, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_LE(place.bottom, MulDiv(kGalleryClientHeight, 144, 96)) << row.name;
    }
    SendMessageA(gallery, WM_CLOSE, 0, 0);
    Pump();
}

TEST_F(GalleryTest, ClosingTheGalleryGivesEverySkinBack) {
    SendMessageA(gallery_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(gallery_));
    EXPECT_EQ(skin::SkinnedWindowCount, 0);
    EXPECT_FALSE(skin::SkinImagesBuilt);
}

}  // namespace
}  // namespace quenlo::gallery
