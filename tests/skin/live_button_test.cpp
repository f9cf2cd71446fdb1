// A skinned command button under a real mouse and keyboard: the system delivers the
// moves, the leave notices, the clicks and the keys; the test reads back what the
// button shows and the state it keeps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "skin/engine/input_geometry.h"
#include "skin/engine/skin_attachment.h"
#include "skin/registry/fade_timer.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "live_input.h"
#include "skin_engine_fixture.h"
#include "test_windows.h"
#include "import_hook.h"

namespace quenlo::skin {
namespace {

constexpr int kWidth = 105;
constexpr int kHeight = 25;

// The button's face inside its rounded corners, as the screen shows it.
PixelGrid ScreenFace(HWND button) {
    HDC dc = GetWindowDC(button);
    PixelGrid grid(dc, 2, 2, kWidth - 4, kHeight - 4);
    ReleaseDC(button, dc);
    return grid;
}

PixelGrid StateFace(HWND button, int state) {
    return PixelGrid(GetSkinProp<HDC>(button, StateDcProp(state)), 2, 2, kWidth - 4, kHeight - 4);
}

// What blending the state picture `over` at `level` once onto the `under` picture gives,
// made the way the screen makes it: on a surface of the button's own format.
PixelGrid BlendedFace(HWND button, int under, int over, int level) {
    HDC windowDc = GetWindowDC(button);
    HDC dc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, kWidth, kHeight);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    ReleaseDC(button, windowDc);
    BitBlt(dc, 0, 0, kWidth, kHeight, GetSkinProp<HDC>(button, StateDcProp(under)), 0, 0, SRCCOPY);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(level), 0};
    AlphaBlend(dc, 0, 0, kWidth, kHeight, GetSkinProp<HDC>(button, StateDcProp(over)), 0, 0,
               kWidth, kHeight, blend);
    PixelGrid grid(dc, 2, 2, kWidth - 4, kHeight - 4);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return grid;
}

// Largest difference of one colour channel between two pictures of the same size.
int Distance(const PixelGrid& a, const PixelGrid& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const COLORREF p = a.at(x, y);
            const COLORREF q = b.at(x, y);
            for (int shift : {0, 8, 16}) {
                const int d = std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                       static_cast<int>((q >> shift) & 0xFF));
                largest = std::max(largest, d);
            }
        }
    }
    return largest;
}

class LiveButton : public ::testing::Test {
protected:
    void SetUp() override {
        button = form.Add("Button", "开始处理", 0, 20, 20, kWidth, kHeight);
        away = form.Add("Edit", "", 0, 200, 150, 100, 22);
        ApplySkin(form.get());
        BringToFront(GetAncestor(form.get(), GA_ROOT));
        MoveMouseTo(CentreOf(away));
        PumpWithoutTimers();
        FormMessages().clear();
    }
    void TearDown() override {
        ReleaseLeft();
        RemoveSkin(form.get());
    }

    int Level() const { return static_cast<int>(GetSkinProp(button, kPropAlphaLevel)); }
    int State() const { return static_cast<int>(GetSkinProp(button, kPropOldState)); }
    UINT_PTR Timer() const { return GetSkinProp<UINT_PTR>(button, kPropTimerId); }
    int MouseFlag() const { return static_cast<int>(GetSkinProp(button, kPropMouseFlag)); }

    // Steps the fade by hand until it ends; the number of steps it took.
    int TicksUntilFadeEnds() {
        int ticks = 0;
        while (Timer() != 0 && ticks < 1000) {
            SendMessageA(button, WM_TIMER, kFadeTimerId, 0);
            ++ticks;
        }
        return ticks;
    }
    void ExpectShows(int state) {
        EXPECT_TRUE(ScreenFace(button) == StateFace(button, state)) << "state " << state;
    }
    int Clicks() const {
        int clicks = 0;
        for (const RecordedMessage& m : FormMessages()) {
            clicks += m.message == WM_COMMAND && HIWORD(m.wParam) == BN_CLICKED &&
                      m.lParam == reinterpret_cast<LPARAM>(button);
        }
        return clicks;
    }

    FormWindow form;
    HWND button{};
    HWND away{};
};

TEST_F(LiveButton, HoverFadesTheHoverPictureInAndLeavingFadesBackToNormal) {
    const UserCalls timers;
    MoveMouseTo(CentreOf(button));
    EXPECT_EQ(MouseFlag(), 1);
    EXPECT_EQ(State(), kStateHover);
    EXPECT_NE(Timer(), 0u);

    // The real timer runs the fade to its end: one timer of 15 ms, gone with the fade.
    EXPECT_TRUE(PumpUntil([&] { return Timer() == 0; }, true));
    EXPECT_EQ(Level(), 0);
    ExpectShows(kStateHover);
    EXPECT_EQ(timers.calls,
              (std::vector<UserCall>{{"SetTimer", button, 1, 15}, {"KillTimer", button, 1, 0}}));

    // The system reports the leave: only a leave notice the skin asked for does that.
    MoveMouseTo(CentreOf(away));
    EXPECT_TRUE(PumpUntil([&] { return MouseFlag() == 0; }));
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
    ExpectShows(kStateNormal);

    // Back again: a new entry, with a new leave notice.
    MoveMouseTo(CentreOf(button));
    EXPECT_EQ(State(), kStateHover);
    MoveMouseTo(CentreOf(away));
    EXPECT_TRUE(PumpUntil([&] { return MouseFlag() == 0; }));
}

TEST_F(LiveButton, LeavingLaysTheHoverPictureOverOnceAtOneHundredForty) {
    ExpectShows(kStateNormal);
    MoveMouseTo(CentreOf(button));  // the hover fade is due, but no tick runs yet
    MoveMouseTo(CentreOf(away));
    ASSERT_TRUE(PumpUntil([&] { return MouseFlag() == 0; }));

    const PixelGrid shown = ScreenFace(button);
    const PixelGrid once = BlendedFace(button, kStateNormal, kStateHover, 140);
    EXPECT_LE(Distance(shown, once), 1);
    // The pictures a fault would leave are far from it.
    ASSERT_GT(Distance(once, StateFace(button, kStateNormal)), 8);
    ASSERT_GT(Distance(once, StateFace(button, kStateHover)), 8);
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
    ExpectShows(kStateNormal);
}

TEST_F(LiveButton, ClickShowsThePressedPictureAtOnceAndReleaseFadesInFromSixty) {
    MoveMouseTo(CentreOf(button));
    PressLeft();
    EXPECT_EQ(State(), kStatePressed);
    EXPECT_EQ(Timer(), 0u);
    EXPECT_EQ(Level(), 0);
    ExpectShows(kStatePressed);

    ReleaseLeftOnly();
    EXPECT_EQ(Clicks(), 1);  // the click went through the skin to the button
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(MouseFlag(), 0);
    EXPECT_EQ(Level(), 60);
    EXPECT_EQ(TicksUntilFadeEnds(), 66);
    ExpectShows(kStateNormal);

    // The move the system reports as the button lets go of the mouse counts as a new
    // entry: hover, fading in from 0.
    Settle();
    EXPECT_EQ(State(), kStateHover);
    EXPECT_EQ(MouseFlag(), 1);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
    ExpectShows(kStateHover);
}

TEST_F(LiveButton, SpaceBarPressesLikeAClickAndFadesBackFromZero) {
    SetFocus(button);
    TicksUntilFadeEnds();
    PressKey('A');
    ReleaseKey('A');
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(Timer(), 0u);

    PressKey(VK_SPACE);
    EXPECT_EQ(State(), kStatePressed);
    EXPECT_EQ(Timer(), 0u);
    ExpectShows(kStatePressed);

    ReleaseKey(VK_SPACE);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(State(), kStateNormal);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
    ExpectShows(kStateNormal);
}

TEST_F(LiveButton, DraggingOffAPressedButtonShowsItsPictureOpaqueAtOnce) {
    MoveMouseTo(CentreOf(button));
    PressLeft();
    ASSERT_EQ(MouseFlag(), 1);
    StartFadeTimer(button);  // a fade under way, as after any event
    SetSkinProp(button, kPropAlphaLevel, INT_PTR{30});

    // The cursor is over another window when the button, holding the mouse, hears of
    // the move; whether the system's leave notice comes before or after that move
    // is its own affair, so the move is handed over before any notice can be.
    const POINT elsewhere = CentreOf(away);
    SetCursorPos(elsewhere.x, elsewhere.y);
    SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-120, 140));

    EXPECT_EQ(MouseFlag(), 1);
    EXPECT_EQ(Timer(), 0u);
    EXPECT_EQ(Level(), 255);
    ExpectShows(kStatePressed);

    ReleaseLeft();
    EXPECT_EQ(Clicks(), 0);  // released elsewhere: no click
}

TEST_F(LiveButton, APaintDuringAFadeEndsItAndShowsTheCurrentPictureWhole) {
    MoveMouseTo(CentreOf(button));
    ASSERT_NE(Timer(), 0u);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Timer(), 0u);
    EXPECT_EQ(Level(), 255);
    ExpectShows(kStateHover);
}

TEST_F(LiveButton, DetachingAButtonStopsItsFade) {
    MoveMouseTo(CentreOf(button));
    ASSERT_NE(Timer(), 0u);

    RemoveSkin(form.get());

    // No timer is left on the button to kill, and none arrives.
    EXPECT_FALSE(KillTimer(button, kFadeTimerId));
    Sleep(40);
    MSG tick;
    EXPECT_FALSE(PeekMessageA(&tick, button, WM_TIMER, WM_TIMER, PM_REMOVE));
}

bool SamePictures(const std::vector<PixelGrid>& a, const std::vector<PixelGrid>& b, int state) {
    return a[static_cast<size_t>(state)] == b[static_cast<size_t>(state)];
}

std::vector<PixelGrid> StatePictures(HWND button) {
    std::vector<PixelGrid> pictures;
    for (int state = 0; state < 4; ++state) {
        pictures.push_back(StateFace(button, state));
    }
    return pictures;
}

TEST_F(LiveButton, FocusChangesRenderTheFourPicturesAnewAndFadeThemIn) {
    const std::vector<PixelGrid> unfocused = StatePictures(button);

    SetFocus(button);
    const std::vector<PixelGrid> focused = StatePictures(button);
    for (int state = 0; state < 4; ++state) {
        EXPECT_FALSE(SamePictures(focused, unfocused, state)) << "state " << state;
    }
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
    ExpectShows(kStateNormal);

    SetFocus(away);
    const std::vector<PixelGrid> again = StatePictures(button);
    for (int state = 0; state < 4; ++state) {
        EXPECT_TRUE(SamePictures(again, unfocused, state)) << "state " << state;
    }
    EXPECT_EQ(TicksUntilFadeEnds(), 86);
    ExpectShows(kStateNormal);
}

TEST_F(LiveButton, DisablingShowsTheDisabledPictureAndEnablingTheNormalOne) {
    EnableWindow(button, FALSE);
    PumpWithoutTimers();
    EXPECT_EQ(State(), kStateDisabled);
    ExpectShows(kStateDisabled);
    EnableWindow(button, TRUE);
    PumpWithoutTimers();
    EXPECT_EQ(State(), kStateNormal);
    ExpectShows(kStateNormal);
}

// Uncovered and repainted whole, the button keeps the corners its rounded region cuts
// away: one pixel at each corner is not the face, the face begins right beside it.
TEST_F(LiveButton, RepaintedButtonLeavesOutTheOnePixelItsRegionCutsAtEachCorner) {
    RedrawWindow(form.get(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_EQ(State(), kStateNormal);
    // Read through the form: a pixel the region cuts away belongs to it.
    const POINT at = ScreenPoint(button, 0, 0);
    const POINT formAt = ScreenPoint(form.get(), 0, 0);
    const HDC face = GetSkinProp<HDC>(button, StateDcProp(kStateNormal));
    for (const POINT corner : {POINT{0, 0}, POINT{kWidth - 1, 0}, POINT{0, kHeight - 1},
                               POINT{kWidth - 1, kHeight - 1}}) {
        // The corner pixel and its three neighbours inward.
        for (const POINT step : {POINT{0, 0}, POINT{1, 0}, POINT{0, 1}, POINT{1, 1}}) {
            const int x = corner.x == 0 ? step.x : corner.x - step.x;
            const int y = corner.y == 0 ? step.y : corner.y - step.y;
            const COLORREF shown =
                ClientPixel(form.get(), at.x - formAt.x + x, at.y - formAt.y + y);
            if (step.x == 0 && step.y == 0) {
                EXPECT_NE(shown, GetPixel(face, x, y)) << "corner " << x << "," << y;
            } else {
                EXPECT_EQ(shown, GetPixel(face, x, y)) << "face at " << x << "," << y;
            }
        }
    }
}

TEST_F(LiveButton, AnyTimerMessageAdvancesTheFadeOneStep) {
    SetSkinProp(button, kPropAlphaLevel, INT_PTR{30});
    SendMessageA(button, WM_TIMER, 77, 0);
    EXPECT_EQ(Level(), 33);
}

TEST_F(LiveButton, TwoStartsMakeOneTimerAndAStopWithoutATimerReturnsZero) {
    EXPECT_EQ(StartFadeTimer(button), kFadeTimerId);
    EXPECT_EQ(StartFadeTimer(button), 0u);
    EXPECT_NE(StopFadeTimer(button), FALSE);
    EXPECT_EQ(StopFadeTimer(button), FALSE);
}

TEST(MousePosition, WordsAreSignedSoPositionsLeftOrAboveComeOutNegative) {
    const auto lParam = static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-5), 40000));
    EXPECT_EQ(LoWord(lParam), -5);
    EXPECT_EQ(HiWord(lParam), 40000 - 65536);
}

}  // namespace
}  // namespace quenlo::skin
