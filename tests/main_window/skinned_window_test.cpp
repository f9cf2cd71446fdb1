// The main window in its skin: the start button's pictures follow its caption through
// start, stop and the end of a run, and closing the window takes the skin off every
// window and gives the images back.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "controls/frame.h"
#include "conversion/texts.h"
#include "platform/ansi_text.h"
#include "skin/engine/skin_attachment.h"
#include "skin/registry/skin_state.h"
#include "skin/engine/skin_window_proc.h"
#include "skin/painting/primitives.h"
#include "tests/main_window/window_fixture.h"
#include "live_input.h"
#include "screen_reader.h"
#include "test_windows.h"

namespace quenlo {
namespace {

using Pixels = std::vector<std::uint32_t>;
using StatePictures = std::array<Pixels, 4>;
using skin::AskReader;
using skin::Heard;

// Copies a state bitmap out through a DIB of our own, so the skin's DC keeps its
// bitmap selected.
Pixels ReadStateBitmap(HWND button, int state) {
    const std::string name = "HDC" + std::to_string(state);
    const auto source = static_cast<HDC>(GetPropA(button, name.c_str()));
    RECT box{};
    GetWindowRect(button, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    Pixels pixels(static_cast<std::size_t>(width * height));
    if (source == nullptr) {
        return {};
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copyDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(copyDc, copy);
    BitBlt(copyDc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const std::uint32_t*>(bits), pixels.size(), pixels.begin());
    SelectObject(copyDc, old);
    DeleteDC(copyDc);
    DeleteObject(copy);
    return pixels;
}

StatePictures ReadStatePictures(HWND button) {
    StatePictures pictures;
    for (int state = 0; state < 4; ++state) {
        pictures[static_cast<std::size_t>(state)] = ReadStateBitmap(button, state);
    }
    return pictures;
}

// What a freshly skinned button of the same size and font shows with this caption.
StatePictures ReferencePictures(HWND button, std::string_view caption) {
    RECT box{};
    GetWindowRect(button, &box);
    HWND reference = CreateWindowExA(0, "Button", Utf8ToAnsi(caption).c_str(), WS_CHILD, 0, 0,
                                     box.right - box.left, box.bottom - box.top, GetParent(button),
                                     nullptr, nullptr, nullptr);
    SendMessageA(reference, WM_SETFONT, SendMessageA(button, WM_GETFONT, 0, 0), FALSE);
    skin::ApplySkin(reference);
    StatePictures pictures = ReadStatePictures(reference);
    skin::RemoveSkin(reference);
    DestroyWindow(reference);
    return pictures;
}

class SkinnedMainWindowTest : public MainWindowTest {
protected:
    HWND StartButton() { return Control(ControlId::Command2); }
    void ExpectStartButtonShows(const StatePictures& seen, std::string_view caption) {
        const StatePictures wanted = ReferencePictures(StartButton(), caption);
        const StatePictures other = ReferencePictures(
            StartButton(), caption == kStartCaption ? kStopCaption : kStartCaption);
        ASSERT_NE(wanted[0], other[0]) << "the two captions must render differently";
        for (std::size_t state = 0; state < 4; ++state) {
            ASSERT_FALSE(seen[state].empty()) << "no state bitmap " << state;
            EXPECT_EQ(seen[state], wanted[state]) << "state " << state;
        }
    }
};

TEST_F(SkinnedMainWindowTest, StartButtonPicturesFollowTheCaptionThroughStartAndStop) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open();
    ExpectStartButtonShows(ReadStatePictures(StartButton()), kStartCaption);
    Window().SetText(ControlId::Text4, WriteInput("big.txt", 50000));

    StatePictures whileRunning;
    bool stopped = false;
    const RunProbe probe(1, [&] {
        if (Window().IsRunning() && !stopped) {
            whileRunning = ReadStatePictures(StartButton());
            stopped = true;
            PostClick(ControlId::Command2);
        }
    });
    Sleep(20);  // the probe's timer is due at the run's first pump
    Click(ControlId::Command2);

    ASSERT_TRUE(stopped);
    EXPECT_TRUE(boxes_.empty());  // stopped, not finished
    ExpectStartButtonShows(whileRunning, kStopCaption);
    ExpectStartButtonShows(ReadStatePictures(StartButton()), kStartCaption);
}

// The run puts the caption back itself at the end of its input; the button must not
// go on showing "停止" while idle.
TEST_F(SkinnedMainWindowTest, StartButtonShowsItsStartCaptionAgainAfterACompletedRun) {
    Open();
    Window().SetText(ControlId::Text4, WriteInput("seven.txt", 7));
    Click(ControlId::Command2);

    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    ExpectStartButtonShows(ReadStatePictures(StartButton()), kStartCaption);
}

// The box of the pixels in which two pictures of the given width differ, inside `within`.
RECT DifferenceBox(const Pixels& a, const Pixels& b, int width, const RECT& within) {
    RECT box{within.right, within.bottom, within.left, within.top};
    for (LONG y = within.top; y < within.bottom; ++y) {
        for (LONG x = within.left; x < within.right; ++x) {
            const auto at = static_cast<std::size_t>(y * width + x);
            if (a[at] != b[at]) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
    }
    return box;
}

// The size of the caption's ink as the skin draws it when given all the room it wants.
SIZE UnclippedInk(HFONT font, const std::string& caption) {
    constexpr int kRoom = 600;
    skin::TestSurface blank(kRoom, kRoom, RGB(255, 255, 255));
    skin::TestSurface written(kRoom, kRoom, RGB(255, 255, 255));
    const HGDIOBJ previous = SelectObject(written.dc(), font);
    SetBkMode(written.dc(), TRANSPARENT);
    skin::DrawTextIn(written.dc(), Utf8ToAnsi(caption), 0, 0, kRoom, kRoom,
                     DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(written.dc(), previous);
    const skin::PixelGrid a = blank.Grid();
    const skin::PixelGrid b = written.Grid();
    RECT box{kRoom, kRoom, 0, 0};
    for (LONG y = 0; y < kRoom; ++y) {
        for (LONG x = 0; x < kRoom; ++x) {
            if (a.at(x, y) != b.at(x, y)) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
    }
    return {box.right - box.left, box.bottom - box.top};
}

// A move to a monitor of another scale: the window takes the system's rectangle and
// lays itself out again from the twips, in a font of the new DPI, and the skinned
// buttons show their captions whole at their new size. Back at 96 all is as it was.
TEST_F(SkinnedMainWindowTest, ADpiChangeLaysEveryControlOutAgainAndRedrawsTheButtons) {
    Open();
    const int systemDpi = Window().Dpi();
    LOGFONTA stockFace{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof stockFace, &stockFace);
    for (const int dpi : {144, 192, systemDpi}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        // As the system suggests it: the same frame around the client area of the new DPI.
        RECT outer{};
        RECT client{};
        GetWindowRect(window_, &outer);
        GetClientRect(window_, &client);
        const RECT suggested{outer.left + 10, outer.top + 20,
                             outer.left + 10 + (outer.right - outer.left) - client.right +
                                 TwipsToPixels(kClientWidthTwips, dpi),
                             outer.top + 20 + (outer.bottom - outer.top) - client.bottom +
                                 TwipsToPixels(kClientHeightTwips, dpi)};
        SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        PumpUntilIdle();

        GetWindowRect(window_, &outer);
        EXPECT_TRUE(EqualRect(&outer, &suggested));
        EXPECT_EQ(Window().Dpi(), dpi);
        for (const ControlLayout& row : MainWindowLayout()) {
            SCOPED_TRACE(row.name);
            const RECT place = PlaceInParent(row.id);
            const RECT wanted = PixelPlace(row, dpi);
            EXPECT_EQ(place.top, wanted.top);
            if (row.kind != ControlKind::AutoSizeLabel) {
                EXPECT_TRUE(EqualRect(&place, &wanted));
            } else if (row.id != ControlId::Label7) {
                EXPECT_EQ(place.left, wanted.left);
            }
            if (row.kind != ControlKind::Frame) {
                LOGFONTA face{};
                GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Control(row.id), WM_GETFONT, 0, 0)),
                           sizeof face, &face);
                EXPECT_EQ(face.lfHeight, MulDiv(stockFace.lfHeight, dpi, systemDpi));
                EXPECT_STREQ(face.lfFaceName, stockFace.lfFaceName);
            }
            if (row.kind == ControlKind::AutoSizeLabel) {  // fitted to its caption in the new font
                const HDC dc = GetDC(Control(row.id));
                const HGDIOBJ previous = SelectObject(
                    dc, reinterpret_cast<HGDIOBJ>(SendMessageA(Control(row.id), WM_GETFONT, 0, 0)));
                const std::wstring caption = WindowTextOf(Control(row.id));
                SIZE extent{};
                GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()),
                                      &extent);
                SelectObject(dc, previous);
                ReleaseDC(Control(row.id), dc);
                EXPECT_EQ(place.right - place.left, extent.cx);
            }
        }
        // The caption's and the task switcher's icons drawn at the new DPI's sizes.
        for (const auto& [kind, metric] :
             {std::pair{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}}) {
            ICONINFO icon{};
            ASSERT_TRUE(GetIconInfo(
                reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, kind, 0)), &icon));
            BITMAP iconPicture{};
            GetObjectA(icon.hbmColor, sizeof iconPicture, &iconPicture);
            DeleteObject(icon.hbmColor);
            DeleteObject(icon.hbmMask);
            EXPECT_EQ(iconPicture.bmWidth, MulDiv(GetSystemMetrics(metric), dpi, systemDpi));
        }

        RECT panel{};
        GetClientRect(Control(ControlId::iFrame5), &panel);
        EXPECT_EQ(PlaceInParent(ControlId::Label7).right,
                  panel.right - TwipsToPixels(kLabel7RightMarginTwips, dpi));

        for (const ControlId id : {ControlId::Command1, ControlId::Command2}) {
            SCOPED_TRACE(LayoutOf(id).name);
            const HWND button = Control(id);
            const RECT place = PlaceInParent(id);
            const int width = place.right - place.left;
            const int height = place.bottom - place.top;
            for (int state = 0; state < 4; ++state) {
                const std::string name = "HDC" + std::to_string(state);
                BITMAP picture{};
                GetObjectA(
                    GetCurrentObject(static_cast<HDC>(GetPropA(button, name.c_str())), OBJ_BITMAP),
                    sizeof picture, &picture);
                EXPECT_EQ(picture.bmWidth, width) << "state " << state;
                EXPECT_EQ(picture.bmHeight, height) << "state " << state;
            }
            RECT region{};
            EXPECT_NE(GetWindowRgnBox(button, &region), ERROR);
            EXPECT_GE(region.right, width);
            EXPECT_GE(region.bottom, height);
            // Exactly what a button of this size and font shows when first skinned (the
            // one without the focus: the other's pictures hold the focus rectangle).
            if (id == ControlId::Command2) {
                EXPECT_EQ(ReadStatePictures(button), ReferencePictures(button, Text(id)));
            }

            // The caption whole: where the normal picture differs from the bare face is
            // as wide and as tall as the caption's ink with all the room it wants (the
            // focus rectangle, 2 pixels in, left out).
            const RECT ink =
                DifferenceBox(ReadStateBitmap(button, 0), ReferencePictures(button, "")[0], width,
                              {3, 3, width - 3, height - 3});
            const SIZE whole = UnclippedInk(
                reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), Text(id));
            EXPECT_EQ(ink.right - ink.left, whole.cx);
            EXPECT_EQ(ink.bottom - ink.top, whole.cy);
            EXPECT_GT(whole.cy, MulDiv(dpi, 6, 96)) << "a caption of the new DPI's size";
        }
    }
}

TEST_F(SkinnedMainWindowTest, EveryButtonOfTheWindowIsSkinnedWhileItIsOpen) {
    Open();
    EXPECT_GT(skin::SkinnedWindowCount, 10);
    EXPECT_TRUE(skin::SkinImagesBuilt);
    for (ControlId id : {ControlId::Command1, ControlId::Command2}) {
        EXPECT_EQ(GetWindowLongPtrA(Control(id), GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(&skin::SkinWndProc));
        EXPECT_NE(GetPropA(Control(id), "HDC0"), nullptr);
    }
}

int SkinState(HWND window, const char* name) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(window, name)));
}

// A person's way through a run: the mouse onto the start button, a click, the mouse off.
TEST_F(SkinnedMainWindowTest, StartButtonUnderARealMouseLightsRunsAndGoesBackWhenLeft) {
    Open(SW_SHOW);
    skin::BringToFront(window_);
    Window().SetText(ControlId::Text4, WriteInput("five.txt", 5));
    const POINT away = skin::ScreenPoint(window_, 5, 5);
    skin::MoveMouseTo(away);

    skin::MoveMouseTo(skin::CentreOf(StartButton()));
    EXPECT_EQ(SkinState(StartButton(), "OLDSTATE"), 1);
    EXPECT_EQ(SkinState(StartButton(), "MOUSEFLAG"), 1);
    skin::PressLeft();
    EXPECT_TRUE(skin::ScreenShowsButtonState(StartButton(), 2));
    skin::ReleaseLeft();

    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_EQ(OutputLineCount(), 5);
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);

    skin::MoveMouseTo(away);
    EXPECT_TRUE(skin::PumpUntil([&] { return SkinState(StartButton(), "MOUSEFLAG") == 0; }));
    EXPECT_TRUE(skin::PumpUntil([&] { return SkinState(StartButton(), "TIMERID") == 0; }, true));
    EXPECT_EQ(SkinState(StartButton(), "OLDSTATE"), 0);
    EXPECT_TRUE(skin::ScreenShowsButtonState(StartButton(), 0));
}

// How many pixels of a window, as the screen shows it, have exactly this colour.
int PixelsOfColour(HWND window, COLORREF colour) {
    RECT box{};
    GetWindowRect(window, &box);
    const HDC dc = GetWindowDC(window);
    const skin::PixelGrid shown(dc, 0, 0, box.right - box.left, box.bottom - box.top);
    ReleaseDC(window, dc);
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            count += shown.at(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// High contrast is a query the tests answer (the system under test never turns it
// on); the window hears of a change through the messages the system sends.
class HighContrastTest : public SkinnedMainWindowTest {
protected:
    void SetUp() override {
        SkinnedMainWindowTest::SetUp();
        services_.highContrast = [this] { return highContrast_; };
    }
    void Turn(bool on, UINT message) {
        highContrast_ = on;
        SendMessageA(window_, message, message == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0, 0);
        PumpUntilIdle();
    }
    bool SkinnedNow() {
        return GetWindowLongPtrA(StartButton(), GWLP_WNDPROC) ==
               reinterpret_cast<LONG_PTR>(&skin::SkinWndProc);
    }
    // What the screen shows: the system's buttons, the theme's colours for the link
    // and the panels' border; or the skin's and the window's own.
    void ExpectSystemLook(bool system) {
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        PumpUntilIdle();
        RECT button{};
        GetWindowRect(StartButton(), &button);
        const int area = (button.right - button.left) * (button.bottom - button.top);
        const int face = PixelsOfColour(StartButton(), GetSysColor(COLOR_BTNFACE));
        const HWND link = Control(ControlId::Label9);
        const HDC panel = GetWindowDC(Control(ControlId::iFrame5));
        const COLORREF border = GetPixel(panel, 0, 0);
        ReleaseDC(Control(ControlId::iFrame5), panel);
        const RECT label = PlaceInParent(ControlId::Label13);
        const HDC labelDc = GetDC(Control(ControlId::Label13));
        const COLORREF labelCorner =
            GetPixel(labelDc, label.right - label.left - 1, label.bottom - label.top - 1);
        ReleaseDC(Control(ControlId::Label13), labelDc);
        if (system) {
            EXPECT_EQ(skin::SkinnedWindowCount, 0);
            EXPECT_GT(face, area / 2) << "the start button is not the system's";
            EXPECT_GT(PixelsOfColour(link, GetSysColor(COLOR_HOTLIGHT)), 10);
            EXPECT_EQ(PixelsOfColour(link, kLinkColor), 0);
            EXPECT_EQ(border, GetSysColor(COLOR_WINDOWTEXT));
            EXPECT_EQ(labelCorner, GetSysColor(COLOR_BTNFACE));  // the label's own background
        } else {
            EXPECT_GT(skin::SkinnedWindowCount, 10);
            EXPECT_TRUE(skin::ScreenShowsButtonState(StartButton(), 0));
            EXPECT_LT(face, area / 2);
            EXPECT_GT(PixelsOfColour(link, kLinkColor), 10);
            EXPECT_EQ(border, kFrameBorderColor);
        }
    }
    bool highContrast_ = false;
};

TEST_F(HighContrastTest, WindowIsLeftToTheSystemAndItsColoursWhileHighContrastIsOn) {
    ASSERT_NE(GetSysColor(COLOR_HOTLIGHT), kLinkColor) << "the link's colours must differ";
    highContrast_ = true;
    Open(SW_SHOW);
    skin::BringToFront(window_);
    EXPECT_FALSE(SkinnedNow());
    ExpectSystemLook(true);

    Turn(false, WM_SYSCOLORCHANGE);
    EXPECT_TRUE(SkinnedNow());
    ExpectSystemLook(false);

    Turn(true, WM_SETTINGCHANGE);
    EXPECT_FALSE(SkinnedNow());
    ExpectSystemLook(true);
}

// Turned on in the middle of a run, the skin comes off at once, and the start and stop
// put no skin back on; turned off again, the skin shows the caption of that moment.
TEST_F(HighContrastTest, TurningHighContrastOnDuringARunTakesTheSkinOffUntilItIsTurnedOff) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open();
    Window().SetText(ControlId::Text4, WriteInput("big.txt", 50000));
    int ticks = 0;
    bool skinnedWhileOn = true;
    const RunProbe probe(1, [&] {
        if (!Window().IsRunning()) {
            return;
        }
        if (++ticks == 1) {
            Turn(true, WM_SETTINGCHANGE);
        } else if (ticks == 2) {
            skinnedWhileOn = SkinnedNow() || skin::SkinnedWindowCount != 0;
            PostClick(ControlId::Command2);
        }
    });
    Sleep(20);  // the probe's timer is due at the run's first pump
    Click(ControlId::Command2);

    ASSERT_GE(ticks, 2);
    EXPECT_FALSE(skinnedWhileOn);
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    EXPECT_EQ(skin::SkinnedWindowCount, 0) << "the stop put the skin back on";
    Turn(false, WM_SYSCOLORCHANGE);
    EXPECT_TRUE(SkinnedNow());
    ExpectStartButtonShows(ReadStatePictures(StartButton()), kStartCaption);
}

// A stand-in for SystemParametersInfoA: flags that answer a well-formed query.
struct HighContrastAnswer {
    static inline DWORD flags = 0;
    static inline BOOL result = TRUE;
    static BOOL WINAPI Query(UINT action, UINT, PVOID data, UINT) {
        auto* setting = static_cast<HIGHCONTRASTA*>(data);
        const bool asked = action == SPI_GETHIGHCONTRAST && setting->cbSize == sizeof *setting;
        setting->dwFlags = asked ? flags : HCF_HIGHCONTRASTON;
        return result;
    }
};

// HCF_AVAILABLE is set on every ordinary system: only HCF_HIGHCONTRASTON counts, and
// only from a query that succeeded.
TEST(HighContrastQuery, IsOnOnlyWhenTheSystemSaysTheSettingIsOn) {
    constexpr DWORD kUsual = HCF_AVAILABLE | HCF_HOTKEYAVAILABLE;
    for (const auto& [flags, result, on] : {std::tuple{kUsual, TRUE, false},
                                            {kUsual | HCF_HIGHCONTRASTON, TRUE, true},
                                            {kUsual | HCF_HIGHCONTRASTON, FALSE, false}}) {
        HighContrastAnswer::flags = flags;
        HighContrastAnswer::result = result;
        EXPECT_EQ(HighContrastOn(HighContrastAnswer::Query), on) << flags << " " << result;
    }
}

TEST_F(SkinnedMainWindowTest, ScreenReadersHearTheButtonsAndTextBoxesByTheirNames) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open();
    ASSERT_EQ(GetWindowLongPtrA(StartButton(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&skin::SkinWndProc));
    const Heard import = AskReader(Control(ControlId::Command1));
    EXPECT_EQ(import.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(import.name, "导入文件");
    const Heard path = AskReader(Control(ControlId::Text4));
    EXPECT_EQ(path.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(path.name, "导入文件：");
    const Heard lines = AskReader(Control(ControlId::Text7));
    EXPECT_EQ(lines.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(lines.name, "分割行数：");
    const Heard start = AskReader(StartButton());
    EXPECT_EQ(start.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(start.name, kStartCaption);

    // The start button's name follows its caption through a run.
    Window().SetText(ControlId::Text4, WriteInput("big.txt", 50000));
    Heard whileRunning;
    const RunProbe probe(1, [&] {
        if (Window().IsRunning() && whileRunning.role == 0) {
            whileRunning = AskReader(StartButton());
            PostClick(ControlId::Command2);
        }
    });
    Sleep(20);  // the probe's timer is due at the run's first pump
    Click(ControlId::Command2);
    EXPECT_EQ(whileRunning.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(whileRunning.name, kStopCaption);
    EXPECT_EQ(AskReader(StartButton()).name, kStartCaption);
    DestroyWindow(window_);
    CoUninitialize();
}

// Owner-draw notices that reach a window's own procedure underneath the skin.
LRESULT CALLBACK CountDrawItems(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR counts) {
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        (*reinterpret_cast<std::map<HWND, int>*>(counts))[item->hwndItem] += 1;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// What the open dialog showed in its "Look in" box once the skin had taken it.
struct LookInBox {
    static inline HWND owner = nullptr;
    static inline bool seen = false;
    static inline bool dialogSkinned = false;
    static inline bool ownerDrawn = false;
    static inline std::string folder;
    static inline int inkPixels = 0;
    static inline int ticks = 0;
    static inline int ticksSkinned = 0;

    static void Read(HWND dialog) {
        const HWND combo = GetDlgItem(dialog, cmb2);
        ownerDrawn = (GetWindowLongPtrA(combo, GWL_STYLE) & CBS_OWNERDRAWFIXED) != 0;
        const auto index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        char text[MAX_PATH] = {};
        if (index >= 0 && SendMessageA(combo, CB_GETLBTEXTLEN, index, 0) < MAX_PATH) {
            SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        }
        folder = text;
        // The folder's name is dark ink on the box's light face.
        UpdateWindow(combo);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        const HDC dc = GetDC(combo);
        for (int y = info.rcItem.top; y < info.rcItem.bottom; ++y) {
            for (int x = info.rcItem.left; x < info.rcItem.right; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 100) {
                    ++inkPixels;
                }
            }
        }
        ReleaseDC(combo, dc);
    }
    static BOOL CALLBACK Find(HWND window, LPARAM) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (!IsWindowVisible(window) || std::string_view(name) != "#32770" ||
            GetWindow(window, GW_OWNER) != owner) {
            return TRUE;
        }
        // Skinned as it went idle; read it a few ticks later, when it has been drawn.
        dialogSkinned = GetPropA(window, "PROCADDR") != nullptr;
        if ((dialogSkinned || ticks > 100) && ++ticksSkinned >= 3) {
            Read(window);
            seen = true;
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        ++ticks;
        EnumThreadWindows(GetCurrentThreadId(), Find, 0);
        if (seen || ticks > 300) {
            KillTimer(nullptr, timer);
        }
    }
};

// The real open dialog over the skinned window: the skin takes the dialog as it goes
// idle, but the dialog's own owner-drawn "Look in" box is still drawn by the dialog,
// while the skin's buttons are never painted by their owners.
TEST_F(SkinnedMainWindowTest, OpenDialogStillDrawsItsLookInBoxAndOwnersNeverPaintSkinButtons) {
    services_.openDialog = nullptr;  // the platform's own dialog
    Open(SW_SHOW);                   // hidden buttons ask nobody to draw them
    // Listen underneath the skin, where the owners' own procedures are.
    std::map<HWND, int> drawItems;
    skin::RemoveSkin(window_);
    for (ControlId owner : {ControlId::Window, ControlId::iFrame3}) {
        const HWND window = owner == ControlId::Window ? window_ : Control(owner);
        SetWindowSubclass(window, CountDrawItems, 1, reinterpret_cast<DWORD_PTR>(&drawItems));
    }
    skin::ApplySkin(window_);
    // Focus moving between the buttons has them ask their owners for a focus drawing.
    SetFocus(Control(ControlId::Command2));
    SetFocus(Control(ControlId::Command1));

    LookInBox::owner = window_;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, LookInBox::Tick);
    Click(ControlId::Command1);
    KillTimer(nullptr, timer);

    ASSERT_TRUE(LookInBox::seen) << "the dialog never appeared";
    EXPECT_TRUE(LookInBox::dialogSkinned);
    EXPECT_TRUE(LookInBox::ownerDrawn);
    EXPECT_FALSE(LookInBox::folder.empty());
    EXPECT_GT(LookInBox::inkPixels, 10) << "the box is blank";
    EXPECT_EQ(drawItems[Control(ControlId::Command1)], 0);
    EXPECT_EQ(drawItems[Control(ControlId::Command2)], 0);
    EXPECT_EQ(Text(ControlId::Text4), "");  // cancelled
}

// Seen by a hook as the window is about to be destroyed: by then the close has taken
// the skin off, and every window of the tree still exists to be looked at.
struct TreeAtDestroy {
    HWND root = nullptr;
    bool seen = false;
    int windows = 0;
    std::set<std::string> skinPropsLeft;
    int stillSubclassed = 0;
};
TreeAtDestroy* g_tree = nullptr;

const std::set<std::string> kSkinProps{
    "PROCADDR", "HDC0",     "HDC1",      "HDC2",    "HDC3",     "BMP0",       "BMP1",    "BMP2",
    "BMP3",     "OLDSTYLE", "MOUSEFLAG", "TIMERID", "OLDSTATE", "ALPHALEVEL", "HMINDEX", "HDINDEX"};

BOOL CALLBACK CollectSkinProp(HWND, LPSTR name, HANDLE, ULONG_PTR) {
    // Atoms of unnamed properties arrive as small integers, not strings.
    if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && kSkinProps.count(name) != 0) {
        g_tree->skinPropsLeft.insert(name);
    }
    return TRUE;
}

void InspectWindow(HWND window) {
    ++g_tree->windows;
    EnumPropsExA(window, CollectSkinProp, 0);
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&skin::SkinWndProc)) {
        ++g_tree->stillSubclassed;
    }
}

BOOL CALLBACK InspectChild(HWND window, LPARAM) {
    InspectWindow(window);
    return TRUE;
}

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_DESTROYWND && g_tree && !g_tree->seen &&
        reinterpret_cast<HWND>(wParam) == g_tree->root) {
        g_tree->seen = true;
        InspectWindow(g_tree->root);
        EnumChildWindows(g_tree->root, InspectChild, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SkinnedMainWindowTest, ClosingTakesTheSkinOffEveryWindowAndReleasesTheImages) {
    Open();
    // A run first, so the start button has been re-skinned twice on the way.
    Window().SetText(ControlId::Text4, WriteInput("three.txt", 3));
    Click(ControlId::Command2);
    ASSERT_EQ(boxes_.size(), 1u);

    TreeAtDestroy tree;
    tree.root = window_;
    g_tree = &tree;
    HHOOK hook = SetWindowsHookExA(WH_CBT, WatchDestroy, nullptr, GetCurrentThreadId());
    SendMessageA(window_, WM_CLOSE, 0, 0);
    UnhookWindowsHookEx(hook);
    g_tree = nullptr;

    EXPECT_FALSE(IsWindow(window_));
    ASSERT_TRUE(tree.seen);
    EXPECT_GT(tree.windows, 10);
    EXPECT_TRUE(tree.skinPropsLeft.empty()) << *tree.skinPropsLeft.begin();
    EXPECT_EQ(tree.stillSubclassed, 0);
    EXPECT_EQ(skin::SkinnedWindowCount, 0);
    EXPECT_FALSE(skin::SkinImagesBuilt);
    EXPECT_EQ(skin::ButtonImage, nullptr);
    EXPECT_EQ(skin::HeaderImage, nullptr);
}

}  // namespace
}  // namespace quenlo
