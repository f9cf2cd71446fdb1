// Paint and non-client paint of skinned windows: progress bars, combo boxes, flat edges.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "skin/engine/skin_attachment.h"
#include "live_input.h"
#include "skin_engine_fixture.h"

namespace quenlo::skin {
namespace {

constexpr COLORREF kWhiteColour = RGB(255, 255, 255);
constexpr COLORREF kFill = RGB(76, 214, 246);
constexpr COLORREF kBorder = RGB(84, 165, 213);
constexpr COLORREF kPaleBorder = RGB(164, 207, 233);

class PaintHandlers : public ::testing::Test {
protected:
    void TearDown() override { RemoveSkin(form.get()); }
    HWND Progress(DWORD style, int width, int height, int position) {
        HWND bar = form.Add(kProgressClass, "", style, 10, 10, width, height);
        SendMessageA(bar, PBM_SETRANGE32, 0, 30000);
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        return bar;
    }
    void Repaint(HWND window) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    }
    FormWindow form;
};

TEST_F(PaintHandlers, HorizontalProgressBarAtHalfScaleFillsHalfItsClientArea) {
    HWND bar = Progress(0, 200, 20, 15000);
    ApplySkin(form.get());
    Repaint(bar);
    EXPECT_EQ(ClientPixel(bar, 0, 10), kFill);
    EXPECT_EQ(ClientPixel(bar, 99, 10), kFill);
    EXPECT_EQ(ClientPixel(bar, 100, 10), kWhiteColour);
    EXPECT_EQ(ClientPixel(bar, 199, 10), kWhiteColour);
}

TEST_F(PaintHandlers, VerticalProgressBarGrowsUpFromTheBottomRoundingHalvesToEven) {
    HWND bar = Progress(PBS_VERTICAL, 20, 50, 10000);
    ApplySkin(form.get());
    Repaint(bar);
    EXPECT_EQ(ClientPixel(bar, 10, 32), kWhiteColour);
    EXPECT_EQ(ClientPixel(bar, 10, 33), kFill);
    EXPECT_EQ(ClientPixel(bar, 10, 49), kFill);
}

// Fill lengths are rounded, halves to the even neighbour: at half scale 2.5 pixels
// become 2 and 3.5 become 4. A vertical fill starts at its rounded top and runs down
// to the bottom edge.
TEST_F(PaintHandlers, ProgressFillLengthsRoundHalvesToEvenAndAVerticalFillReachesTheBottom) {
    struct Case {
        DWORD style;
        int length;  // of the client area along the bar
        int filled;
    };
    const Case cases[] = {{0, 5, 2}, {0, 7, 4}, {PBS_VERTICAL, 5, 3}, {PBS_VERTICAL, 7, 3}};
    std::vector<HWND> bars;
    for (const Case& c : cases) {
        HWND bar = Progress(c.style, 40, 40, 15000);
        RECT client{};
        GetClientRect(bar, &client);
        const int edge = 40 - client.right;  // the border, on both sides together
        const bool vertical = c.style == PBS_VERTICAL;
        SetWindowPos(bar, nullptr, 0, 0, (vertical ? 10 : c.length) + edge,
                     (vertical ? c.length : 10) + edge, SWP_NOMOVE | SWP_NOZORDER);
        bars.push_back(bar);
    }
    ApplySkin(form.get());
    for (size_t i = 0; i < bars.size(); ++i) {
        const Case& c = cases[i];
        const bool vertical = c.style == PBS_VERTICAL;
        SCOPED_TRACE((vertical ? "vertical, " : "horizontal, ") + std::to_string(c.length));
        Repaint(bars[i]);
        for (int along = 0; along < c.length; ++along) {
            const bool fill = vertical ? along >= c.length - c.filled : along < c.filled;
            const COLORREF shown =
                vertical ? ClientPixel(bars[i], 5, along) : ClientPixel(bars[i], along, 5);
            EXPECT_EQ(shown, fill ? kFill : kWhiteColour) << "pixel " << along;
        }
    }
}

TEST_F(PaintHandlers, BorderedProgressBarAtZeroIsWhiteInsideAOnePixelBorder) {
    HWND bar = Progress(WS_BORDER, 120, 20, 0);
    ApplySkin(form.get());
    Repaint(bar);
    EXPECT_EQ(WindowPixel(bar, 0, 0), kBorder);
    EXPECT_EQ(WindowPixel(bar, 119, 19), kBorder);
    EXPECT_EQ(WindowPixel(bar, 1, 1), kWhiteColour);
    EXPECT_EQ(ClientPixel(bar, 60, 9), kWhiteColour);
    EnableWindow(bar, FALSE);  // a bar looks the same either way
    Repaint(bar);
    EXPECT_EQ(WindowPixel(bar, 0, 0), kBorder);
}

// Records WM_PAINT results of the combo's own procedure under the skin.
WNDPROC comboProcedure = nullptr;
int comboPaints = 0;
LRESULT CALLBACK CountingComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++comboPaints;
        CallWindowProcA(comboProcedure, window, message, wParam, lParam);
        return 77;
    }
    return CallWindowProcA(comboProcedure, window, message, wParam, lParam);
}

HWND CountedCombo(FormWindow& form, DWORD style) {
    HWND combo = form.Add("ComboBox", "", style, 10, 10, 120, 150);
    comboProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingComboProc)));
    comboPaints = 0;
    return combo;
}

TEST_F(PaintHandlers, EditableComboIsPaintedWhiteWithAFlatFrameByTheSkinAlone) {
    HWND combo = CountedCombo(form, CBS_DROPDOWN);
    ApplySkin(form.get());
    comboPaints = 0;
    InvalidateRect(combo, nullptr, TRUE);
    EXPECT_EQ(SendMessageA(combo, WM_PAINT, 0, 0), 0);
    EXPECT_EQ(comboPaints, 0);
    EXPECT_EQ(WindowPixel(combo, 0, 0), kBorder);
    EnableWindow(combo, FALSE);
    Repaint(combo);
    EXPECT_EQ(WindowPixel(combo, 0, 0), kPaleBorder);
}

TEST_F(PaintHandlers, DropDownListComboKeepsTheSystemPaintAndItsResult) {
    HWND combo = CountedCombo(form, CBS_DROPDOWNLIST);
    ApplySkin(form.get());
    comboPaints = 0;
    InvalidateRect(combo, nullptr, TRUE);
    EXPECT_EQ(SendMessageA(combo, WM_PAINT, 0, 0), 77);
    EXPECT_EQ(comboPaints, 1);
    EXPECT_EQ(WindowPixel(combo, 0, 0), kBorder);
    EXPECT_EQ(WindowPixel(combo, 1, 1), kWhiteColour);
    EnableWindow(combo, FALSE);
    Repaint(combo);
    EXPECT_EQ(WindowPixel(combo, 0, 0), kPaleBorder);
}

TEST_F(PaintHandlers, ClientEdgeOfAnEditBecomesFlatRings) {
    HWND edit = form.Add("Edit", "", 0, 10, 10, 100, 24, WS_EX_CLIENTEDGE);
    ApplySkin(form.get());
    Repaint(edit);
    for (POINT p : {POINT{0, 0}, POINT{99, 23}, POINT{0, 12}, POINT{50, 23}}) {
        EXPECT_EQ(WindowPixel(edit, p.x, p.y), kBorder) << p.x << "," << p.y;
    }
    // Two rings of the client background inside (a client edge is 2 pixels wide).
    for (POINT p : {POINT{1, 1}, POINT{2, 2}, POINT{1, 12}, POINT{98, 22}, POINT{97, 21}}) {
        EXPECT_EQ(WindowPixel(edit, p.x, p.y), kWhiteColour) << p.x << "," << p.y;
    }

    // Disabled, the edge turns pale; enabled again, it takes the normal colour back.
    EnableWindow(edit, FALSE);
    PumpWithoutTimers();
    EXPECT_EQ(WindowPixel(edit, 0, 0), kPaleBorder);
    EXPECT_EQ(WindowPixel(edit, 99, 23), kPaleBorder);
    EnableWindow(edit, TRUE);
    PumpWithoutTimers();
    EXPECT_EQ(WindowPixel(edit, 0, 0), kBorder);
}

// Owner-drawn items. The skin paints its push buttons itself, so their draw requests
// end at the skin; every other owner-drawn item is drawn by its owner: the file
// dialog's "Look in" box, a button its program draws itself (PaintButton leaves it).
TEST_F(PaintHandlers, DrawItemOfASkinnedPushButtonIsSwallowed) {
    const HWND push = form.Add("Button", "push", BS_PUSHBUTTON, 10, 10, 80, 24);
    ApplySkin(form.get());
    FormMessages().clear();
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = push;
    EXPECT_EQ(SendMessageA(form.get(), WM_DRAWITEM, 5, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(CountFormMessages(WM_DRAWITEM), 0);
}

TEST_F(PaintHandlers, DrawItemOfAnythingTheSkinDoesNotPaintGoesToTheOwnerOnce) {
    const HWND combo = form.Add("ComboBox", "",
                                CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 10, 10,
                                120, 100);
    const HWND ownerDrawn = form.Add("Button", "own", BS_OWNERDRAW, 10, 40, 80, 24);
    const HWND checkBox = form.Add("Button", "check", BS_AUTOCHECKBOX, 10, 70, 80, 24);
    ApplySkin(form.get());
    for (const auto& [type, window] : {std::pair{ODT_COMBOBOX, combo},
                                       std::pair{ODT_BUTTON, ownerDrawn},
                                       std::pair{ODT_BUTTON, checkBox}}) {
        FormMessages().clear();
        DRAWITEMSTRUCT item{};
        item.CtlType = type;
        item.hwndItem = window;
        SendMessageA(form.get(), WM_DRAWITEM, 9, reinterpret_cast<LPARAM>(&item));
        ASSERT_EQ(CountFormMessages(WM_DRAWITEM), 1) << "item type " << type;
        EXPECT_EQ(FormMessages().back().wParam, 9u);
        EXPECT_EQ(FormMessages().back().lParam, reinterpret_cast<LPARAM>(&item));
    }
}

}  // namespace
}  // namespace quenlo::skin
