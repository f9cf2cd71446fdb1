// A skinned command button's states and its fade, driven by real messages.
#include <gtest/gtest.h>

#include "skin/engine/button_fade.h"
#include "skin/registry/fade_timer.h"
#include "skin/engine/input_geometry.h"
#include "skin/engine/skin_attachment.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin_engine_fixture.h"

namespace quenlo::skin {
namespace {

class ButtonFade : public ::testing::Test {
protected:
    void SetUp() override {
        button = form.Add("Button", "开始处理", 0, 20, 20, 105, 25);
        other = form.Add("Edit", "", 0, 200, 150, 100, 22);
        ApplySkin(form.get());
        Pump();
    }
    void TearDown() override { RemoveSkin(form.get()); }

    int Level() const { return static_cast<int>(GetSkinProp(button, kPropAlphaLevel)); }
    int State() const { return static_cast<int>(GetSkinProp(button, kPropOldState)); }
    UINT_PTR Timer() const { return GetSkinProp<UINT_PTR>(button, kPropTimerId); }
    int MouseFlag() const { return static_cast<int>(GetSkinProp(button, kPropMouseFlag)); }

    // Sends timer ticks until the fade stops; the number of ticks it took.
    int TicksUntilFadeEnds() {
        int ticks = 0;
        while (Timer() != 0 && ticks < 1000) {
            SendMessageA(button, WM_TIMER, kFadeTimerId, 0);
            ++ticks;
        }
        return ticks;
    }
    // The pixel in the middle of the button, on screen, and in a state bitmap.
    COLORREF ScreenCentre() const { return WindowPixel(button, 52, 12); }
    COLORREF StateCentre(int state) const {
        return GetPixel(GetSkinProp<HDC>(button, StateDcProp(state)), 52, 12);
    }
    void MoveCursorOnto(HWND window) {
        RECT box{};
        GetWindowRect(window, &box);
        SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    }

    FormWindow form;
    HWND button{};
    HWND other{};
};

TEST_F(ButtonFade, MouseEntryFadesTheHoverPictureInOverEightySixTicks) {
    MoveCursorOnto(button);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(MouseFlag(), 1);
    EXPECT_EQ(State(), kStateHover);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(Timer(), kFadeTimerId);

    for (int tick = 0; tick < 85; ++tick) {
        SendMessageA(button, WM_TIMER, kFadeTimerId, 0);
    }
    EXPECT_EQ(Level(), 255);
    EXPECT_NE(Timer(), 0u);
    SendMessageA(button, WM_TIMER, kFadeTimerId, 0);  // the 86th paints at 255
    EXPECT_EQ(Timer(), 0u);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(ScreenCentre(), StateCentre(kStateHover));

    // A further move over the button starts nothing new.
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    EXPECT_EQ(Timer(), 0u);
}

TEST_F(ButtonFade, PressShowsThePressedPictureAtOnceAndReleaseFadesFromSixty) {
    MoveCursorOnto(button);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(State(), kStatePressed);
    EXPECT_EQ(Timer(), 0u);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(ScreenCentre(), StateCentre(kStatePressed));

    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(Level(), 60);
    EXPECT_EQ(MouseFlag(), 0);
    EXPECT_EQ(TicksUntilFadeEnds(), 66);
    EXPECT_EQ(ScreenCentre(), StateCentre(kStateNormal));

    // The next movement is a new entry: hover, from 0.
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(State(), kStateHover);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
}

TEST_F(ButtonFade, SpaceBarPressesLikeAClickButFadesBackFromZero) {
    SendMessageA(button, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(State(), kStateNormal);
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(State(), kStatePressed);
    EXPECT_EQ(ScreenCentre(), StateCentre(kStatePressed));
    SendMessageA(button, WM_KEYUP, 'A', 0);
    EXPECT_EQ(State(), kStatePressed);
    EXPECT_EQ(Timer(), 0u);

    SendMessageA(button, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
}

TEST_F(ButtonFade, DraggingOffTheButtonShowsTheCurrentStateOpaqueAtOnce) {
    MoveCursorOnto(button);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);  // the leave notice of the press
    SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));  // entry again
    ASSERT_NE(Timer(), 0u);

    MoveCursorOnto(other);
    SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-120, 140));
    EXPECT_EQ(Timer(), 0u);
    EXPECT_EQ(Level(), 255);
    EXPECT_EQ(ScreenCentre(), StateCentre(State()));
}

TEST_F(ButtonFade, LeavingLaysTheHoverPictureOverOnceThenFadesToNormal) {
    MoveCursorOnto(button);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    TicksUntilFadeEnds();
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(MouseFlag(), 0);
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
    EXPECT_EQ(ScreenCentre(), StateCentre(kStateNormal));
}

TEST_F(ButtonFade, AnyTimerMessageAdvancesTheFadeOneStep) {
    SetSkinProp(button, kPropAlphaLevel, INT_PTR{30});
    SendMessageA(button, WM_TIMER, 77, 0);
    EXPECT_EQ(Level(), 33);
}

TEST_F(ButtonFade, TwoStartsMakeOneTimerAndAStopWithoutATimerReturnsZero) {
    EXPECT_EQ(StartFadeTimer(button), kFadeTimerId);
    EXPECT_EQ(StartFadeTimer(button), 0u);
    EXPECT_NE(StopFadeTimer(button), FALSE);
    EXPECT_EQ(StopFadeTimer(button), FALSE);
}

TEST_F(ButtonFade, RealTimerRunsTheFadeToItsEnd) {
    MoveCursorOnto(button);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    for (int spin = 0; spin < 400 && Timer() != 0; ++spin) {
        Sleep(5);
        MSG message;
        while (PeekMessageA(&message, button, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    EXPECT_EQ(Timer(), 0u);
    EXPECT_EQ(ScreenCentre(), StateCentre(kStateHover));
}

TEST_F(ButtonFade, EnablingSwitchesBetweenNormalAndDisabledPictures) {
    EnableWindow(button, FALSE);
    EXPECT_EQ(State(), kStateDisabled);
    EnableWindow(button, TRUE);
    EXPECT_EQ(State(), kStateNormal);
}

TEST_F(ButtonFade, FocusChangeRendersAnewAndFadesIn) {
    SetFocus(button);
    EXPECT_EQ(Level(), 0);
    EXPECT_NE(Timer(), 0u);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
}

TEST(MousePosition, WordsAreSignedSoPositionsLeftOrAboveComeOutNegative) {
    const auto lParam = static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-5), 40000));
    EXPECT_EQ(LoWord(lParam), -5);
    EXPECT_EQ(HiWord(lParam), 40000 - 65536);
}

}  // namespace
}  // namespace quenlo::skin
