#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/frame.h"

namespace quenlo {
namespace {

// A plain top-level window to hold panels; it records the commands it receives.
struct Host {
    static inline std::vector<WPARAM> commands;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            commands.push_back(wParam);
            return 0;
        }
        if (message == WM_CTLCOLORSTATIC) {
            return 0;  // leaves the colours to the panel
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    Host() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FrameTestHost";
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        window = CreateWindowExA(0, "FrameTestHost", "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        commands.clear();
    }
    ~Host() { DestroyWindow(window); }

    HWND window = nullptr;
};

class FrameTest : public testing::Test {
protected:
    HWND MakeFrame(PropertyBag* saved, int width = 120, int height = 60) {
        return iFrame::Create(host.window, 5, {10, 10, 10 + width, 10 + height}, WS_VISIBLE, saved);
    }

    // What the panel paints, read back from an off-screen bitmap.
    std::vector<COLORREF> Render(HWND frame, int width, int height) {
        const HDC screen = GetDC(nullptr);
        const HDC memory = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        SendMessageA(frame, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(GetPixel(memory, x, y));
            }
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return pixels;
    }

    Host host;
};

TEST(PropertyBag, DefaultsAreReadButNeverStored) {
    PropertyBag bag;
    EXPECT_EQ(bag.Read("BackColor", 42), 42);
    bag.Write("BackColor", 7, 42);
    EXPECT_TRUE(bag.Contains("BackColor"));
    EXPECT_EQ(bag.Read("BackColor", 42), 7);
    bag.Write("BackColor", 42, 42);  // back to the default: the stored value goes
    EXPECT_FALSE(bag.Contains("BackColor"));
    EXPECT_EQ(bag.Read("BackColor", 0), 0);
}

TEST(OleColors, SystemColoursAreResolvedAndPlainOnesKept) {
    EXPECT_EQ(TranslateOleColor(kButtonFaceOleColor), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(TranslateOleColor(0x80000005), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(TranslateOleColor(RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST_F(FrameTest, NewPanelShowsButtonFaceAndSavesNothingForIt) {
    PropertyBag saved;
    const HWND window = MakeFrame(&saved);
    iFrame* frame = iFrame::FromWindow(window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->BackColor(), kButtonFaceOleColor);

    frame->WriteProperties(saved);
    EXPECT_FALSE(saved.Contains(iFrame::kBackColorProperty));
    EXPECT_EQ(iFrame::FromWindow(host.window), nullptr);
}

TEST_F(FrameTest, ChangedBackColorIsReportedSavedAndRestoredByTheNextInstance) {
    PropertyBag saved;
    std::vector<std::string> reported;
    saved.onChanged = [&](std::string_view name) { reported.emplace_back(name); };
    iFrame* frame = iFrame::FromWindow(MakeFrame(&saved));

    frame->SetBackColor(RGB(10, 20, 30));
    EXPECT_EQ(reported, std::vector<std::string>{"BackColor"});
    frame->WriteProperties(saved);
    EXPECT_EQ(saved.Read(iFrame::kBackColorProperty, 0), RGB(10, 20, 30));

    iFrame* restored = iFrame::FromWindow(MakeFrame(&saved));
    EXPECT_EQ(restored->BackColor(), RGB(10, 20, 30));

    restored->SetBackColor(kButtonFaceOleColor);
    restored->WriteProperties(saved);
    EXPECT_FALSE(saved.Contains(iFrame::kBackColorProperty));
}

TEST_F(FrameTest, BorderSpansExactlyThePanelAfterEveryResize) {
    const HWND window = MakeFrame(nullptr);
    const iFrame* frame = iFrame::FromWindow(window);
    const SIZE sizes[] = {{200, 100}, {0, 0}, {0, 50}, {37, 0}, {1, 1}, {525, 33}};
    for (const SIZE size : sizes) {
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        const RECT border = frame->BorderRect();
        EXPECT_EQ(border.left, 0);
        EXPECT_EQ(border.top, 0);
        EXPECT_EQ(border.right, size.cx) << size.cx << "x" << size.cy;
        EXPECT_EQ(border.bottom, size.cy) << size.cx << "x" << size.cy;
    }
}

TEST_F(FrameTest, PaintsAOnePixelBorderAroundItsFace) {
    constexpr int kWidth = 40, kHeight = 20;
    const HWND window = MakeFrame(nullptr, kWidth, kHeight);
    iFrame::FromWindow(window)->SetBackColor(RGB(10, 20, 30));
    const auto pixels = Render(window, kWidth, kHeight);
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * kWidth + x)]; };

    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(at(x, 0), kFrameBorderColor) << x;
        EXPECT_EQ(at(x, kHeight - 1), kFrameBorderColor) << x;
    }
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_EQ(at(0, y), kFrameBorderColor) << y;
        EXPECT_EQ(at(kWidth - 1, y), kFrameBorderColor) << y;
    }
    EXPECT_EQ(at(1, 1), RGB(10, 20, 30));
    EXPECT_EQ(at(kWidth - 2, kHeight - 2), RGB(10, 20, 30));
    EXPECT_EQ(at(kWidth / 2, kHeight / 2), RGB(10, 20, 30));
}

// On screen, a panel that grows or shrinks shows its border at its new edges and
// nowhere else: the whole panel is redrawn, not only the strip that was uncovered.
TEST_F(FrameTest, ResizedPanelOnScreenShowsItsBorderAtTheNewEdgesOnly) {
    ShowWindow(host.window, SW_SHOWNOACTIVATE);
    const HWND window = MakeFrame(nullptr, 120, 60);
    iFrame::FromWindow(window)->SetBackColor(RGB(10, 20, 30));
    UpdateWindow(host.window);
    const auto shown = [&](int x, int y) {
        const HDC dc = GetDC(window);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return colour;
    };
    ASSERT_EQ(shown(119, 30), kFrameBorderColor);

    SetWindowPos(window, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(window);
    EXPECT_EQ(shown(119, 30), RGB(10, 20, 30));  // where the right edge was
    EXPECT_EQ(shown(60, 59), RGB(10, 20, 30));   // and the bottom edge
    EXPECT_EQ(shown(199, 30), kFrameBorderColor);
    EXPECT_EQ(shown(60, 99), kFrameBorderColor);

    SetWindowPos(window, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(window);
    EXPECT_EQ(shown(79, 20), kFrameBorderColor);
    EXPECT_EQ(shown(40, 39), kFrameBorderColor);
    EXPECT_EQ(shown(78, 20), RGB(10, 20, 30));
}

TEST_F(FrameTest, ControlsInsideNotifyThePanelsParent) {
    const HWND frame = MakeFrame(nullptr);
    const HWND button =
        CreateWindowExA(0, "BUTTON", "go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 4, 4, 60, 24,
                        frame, reinterpret_cast<HMENU>(77), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(frame, WM_COMMAND, MAKEWPARAM(77, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ASSERT_EQ(Host::commands.size(), 1u);
    EXPECT_EQ(Host::commands[0], MAKEWPARAM(77, BN_CLICKED));
}

TEST_F(FrameTest, LabelsInsideGetThePanelsFaceWhenTheParentLeavesThemAlone) {
    const HWND window = MakeFrame(nullptr);
    iFrame* frame = iFrame::FromWindow(window);
    frame->SetBackColor(RGB(200, 100, 50));
    const HWND label = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 4, 4, 30, 16,
                                       window, nullptr, GetModuleHandleA(nullptr), nullptr);
    const HDC dc = GetDC(label);
    const LRESULT brush = SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), frame->BackBrush());
    EXPECT_EQ(GetBkColor(dc), RGB(200, 100, 50));
    ReleaseDC(label, dc);
}

}  // namespace
}  // namespace quenlo
