// Attaching, detaching and fading over and over leaves no GDI object behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "skin/registry/fade_timer.h"
#include "skin/engine/skin_attachment.h"
#include "skin/registry/skin_state.h"
#include "skin_engine_fixture.h"

namespace quenlo::skin {
namespace {

// A tree shaped like the main window: panels holding edits and buttons, labels.
void BuildMainLikeTree(FormWindow& form) {
    HWND top = form.Add(kUnlistedClass, "", 0, 8, 8, 520, 33);
    CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 8, 8, 425, 18, top,
                    nullptr, nullptr, nullptr);
    CreateWindowExA(0, "Button", "导入文件", WS_CHILD | WS_VISIBLE, 440, 4, 65, 25, top, nullptr,
                    nullptr, nullptr);
    form.Add("Static", "分割行数：", 0, 16, 56, 65, 17);
    form.Add("Edit", "30000", 0, 88, 48, 81, 18, WS_EX_CLIENTEDGE);
    form.Add("Button", "开始处理", 0, 416, 48, 105, 25);
    HWND status = form.Add(kUnlistedClass, "", 0, 8, 80, 529, 33);
    CreateWindowExA(0, "Static", "总共处理行数：0", WS_CHILD | WS_VISIBLE, 400, 8, 145, 12, status,
                    nullptr, nullptr, nullptr);
}

// Far below one object per cycle or per tick: a leak of that size shows as hundreds.
constexpr int kSlack = 8;

TEST(GdiBalance, ProbeSeesLeakedObjects) {
    const int before = GdiHighWater();
    std::vector<HBRUSH> leaks;
    for (int i = 0; i < 200; ++i) {
        leaks.push_back(CreateSolidBrush(RGB(1, 2, 3)));
    }
    EXPECT_GE(GdiHighWater(), before + 200 - kSlack);
    for (HBRUSH brush : leaks) {
        DeleteObject(brush);
    }
}

TEST(GdiBalance, TwoHundredApplyRemoveCyclesLeaveTheObjectCountUnchanged) {
    FormWindow form(560, 160);
    BuildMainLikeTree(form);
    ApplySkin(form.get());  // a first cycle, so lazily made system objects exist
    RemoveSkin(form.get());
    Pump();
    const int before = GdiHighWater();

    for (int cycle = 0; cycle < 200; ++cycle) {
        ApplySkin(form.get());
        RemoveSkin(form.get());
    }
    Pump();

    EXPECT_LE(GdiHighWater(), before + kSlack);
    EXPECT_EQ(SkinnedWindowCount, 0);
}

TEST(GdiBalance, TenThousandFadeTicksLeaveTheObjectCountUnchanged) {
    FormWindow form;
    HWND button = form.Add("Button", "开始处理", 0, 20, 20, 105, 25);
    ApplySkin(form.get());
    Pump();
    SendMessageA(button, WM_TIMER, kFadeTimerId, 0);
    const int before = GdiHighWater();

    for (int tick = 0; tick < 10000; ++tick) {
        SendMessageA(button, WM_TIMER, kFadeTimerId, 0);
    }

    EXPECT_LE(GdiHighWater(), before + kSlack);
    RemoveSkin(form.get());
}

}  // namespace
}  // namespace quenlo::skin
