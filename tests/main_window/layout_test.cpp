#include <array>
#include <cstdlib>
#include <string>

#include "controls/frame.h"
#include "conversion/output_naming.h"
#include "live_input.h"
#include "platform/display_dpi.h"
#include "tests/main_window/window_fixture.h"

namespace quenlo {
namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST_F(MainWindowTest, WindowIsAFixedCentredFrameWithTheClientAreaOfTheLayout) {
    MainWindow& window = Open();
    const int dpi = window.Dpi();
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, TwipsToPixels(8190, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(1815, dpi));

    const LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);

    char caption[128] = {};
    GetWindowTextA(window_, caption, sizeof caption);
    EXPECT_EQ(std::string(caption).rfind("Quenlo", 0), 0u) << caption;

    RECT outer{};
    GetWindowRect(window_, &outer);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs(outer.left + outer.right - screenWidth), 1);
    EXPECT_LE(std::abs(outer.top + outer.bottom - screenHeight), 1);
    EXPECT_NE(GetClassLongPtrA(window_, GCLP_HICON), 0);
}

// Made where the monitor's or the desktop's own scale is not the one guessed: sized for
// the DPI the window really has, its font scaled from the system's DPI.
TEST_F(MainWindowTest, WindowIsMadeForTheDpiItHasWhateverTheSystemsAndTheGuessedOnes) {
    for (const auto [system, guessed, actual] :
         {std::array{96, 96, 144}, {120, 120, 144}, {144, 96, 96}}) {
        SCOPED_TRACE(testing::Message() << system << ", " << guessed << ", " << actual);
        services_.dpi.system = [system] { return system; };
        services_.dpi.monitorAt = [guessed](POINT) { return guessed; };
        services_.dpi.window = [actual](HWND) { return actual; };
        Open();
        RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, actual),
                   TwipsToPixels(kClientHeightTwips, actual)};
        AdjustFrameForDpi(frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), 0,
                          actual);
        RECT outer{};
        GetWindowRect(window_, &outer);
        EXPECT_EQ(outer.right - outer.left, frame.right - frame.left);
        EXPECT_EQ(outer.bottom - outer.top, frame.bottom - frame.top);
        LOGFONTA stock{};
        LOGFONTA face{};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
        GetObjectA(
            reinterpret_cast<HFONT>(SendMessageA(Control(ControlId::Text7), WM_GETFONT, 0, 0)),
            sizeof face, &face);
        EXPECT_EQ(face.lfHeight, MulDiv(stock.lfHeight, actual, system));
        DestroyWindow(window_);
        PumpUntilIdle();
    }
}

TEST_F(MainWindowTest, EveryControlSitsInItsContainerWhereTheLayoutPutsIt) {
    MainWindow& window = Open();
    const int dpi = window.Dpi();
    const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlLayout& row : MainWindowLayout()) {
        SCOPED_TRACE(row.name);
        const HWND control = Control(row.id);
        ASSERT_NE(control, nullptr);
        const HWND container =
            row.container == ControlId::Window ? window_ : Control(row.container);
        EXPECT_EQ(GetParent(control), container);
        EXPECT_EQ(IsWindowVisible(control) != FALSE, row.visible && IsWindowVisible(container));

        const RECT place = PlaceInParent(row.id);
        EXPECT_EQ(place.left,
                  row.id == ControlId::Label7 ? place.left : TwipsToPixels(row.left, dpi));
        EXPECT_EQ(place.top, TwipsToPixels(row.top, dpi));
        if (row.kind != ControlKind::AutoSizeLabel) {
            EXPECT_EQ(place.right - place.left, TwipsToPixels(row.width, dpi));
            EXPECT_EQ(place.bottom - place.top, TwipsToPixels(row.height, dpi));
        }
        if (row.kind == ControlKind::Frame) {
            EXPECT_EQ(ClassOf(control), iFrame::kClassName);
            EXPECT_NE(iFrame::FromWindow(control), nullptr);
        } else {
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), guiFont);
            EXPECT_EQ(Text(row.id), row.text);
        }
    }
    EXPECT_EQ(ClassOf(Control(ControlId::Text4)), "Edit");
    EXPECT_EQ(ClassOf(Control(ControlId::Command2)), "Button");
    EXPECT_EQ(ClassOf(Control(ControlId::Label7)), "Static");
}

TEST_F(MainWindowTest, HiddenPanelsLieBelowTheClientArea) {
    Open();
    RECT client{};
    GetClientRect(window_, &client);
    for (ControlId id : {ControlId::iFrame2, ControlId::iFrame1}) {
        EXPECT_FALSE(IsWindowVisible(Control(id)));
        EXPECT_GE(PlaceInParent(id).top, client.bottom);
    }
}

TEST_F(MainWindowTest, AutoSizingLabelsFitTheirCaptionInTheGuiFont) {
    Open();
    for (ControlId id : {ControlId::Label5, ControlId::Label6, ControlId::Label7}) {
        const HWND label = Control(id);
        wchar_t caption[64] = {};
        const int length = GetWindowTextW(label, caption, 64);
        const HDC dc = GetDC(label);
        const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption, length, &extent);
        SelectObject(dc, previous);
        ReleaseDC(label, dc);
        const RECT place = PlaceInParent(id);
        EXPECT_EQ(place.right - place.left, extent.cx) << LayoutOf(id).name;
    }
    const HWND label = Control(ControlId::Label6);
    const HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    const std::string caption = "0 ";  // the ASCII part; the rest depends on the font
    GetTextExtentPoint32A(dc, caption.c_str(), 2, &extent);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);

    const RECT before = PlaceInParent(ControlId::Label6);
    EXPECT_GT(before.right - before.left, extent.cx);  // "0 秒" is wider than "0 "
    Window().SetText(ControlId::Label6, "12345 秒");
    const RECT after = PlaceInParent(ControlId::Label6);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.left, before.left);
}

TEST_F(MainWindowTest, Label7KeepsItsRightEdgeSixtyTwipsInsideTheStatusPanel) {
    MainWindow& window = Open();
    RECT panel{};
    GetClientRect(Control(ControlId::iFrame5), &panel);
    const int expectedRight = panel.right - TwipsToPixels(60, window.Dpi());

    window.SetText(ControlId::Label7, "总共处理行数：1");
    const RECT shortCount = PlaceInParent(ControlId::Label7);
    window.SetText(ControlId::Label7, "总共处理行数：1234567890");
    const RECT longCount = PlaceInParent(ControlId::Label7);

    EXPECT_EQ(shortCount.right, expectedRight);
    EXPECT_EQ(longCount.right, expectedRight);
    EXPECT_LT(longCount.left, shortCount.left);
    EXPECT_EQ(longCount.top, shortCount.top);
}

TEST_F(MainWindowTest, TabGoesImportPathLinesStartAndStartsOnImport) {
    Open(SW_SHOWNORMAL);
    EXPECT_EQ(GetFocus(), Control(ControlId::Command1));
    const ControlId order[] = {ControlId::Command1, ControlId::Text4, ControlId::Text7,
                               ControlId::Command2, ControlId::Command1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_EQ(GetNextDlgTabItem(window_, Control(order[i]), FALSE), Control(order[i + 1]))
            << "after step " << i;
    }
}

// Away to another window and back: the control that had the focus has it again.
TEST_F(MainWindowTest, FocusComesBackToItsControlWhenTheWindowIsActivatedAgain) {
    Open(SW_SHOW);
    const HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                       nullptr, nullptr, nullptr, nullptr);
    skin::BringToFront(window_);
    SetFocus(Control(ControlId::Text7));
    skin::BringToFront(other);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == other; }));
    skin::BringToFront(window_);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window_; }));
    EXPECT_EQ(GetFocus(), Control(ControlId::Text7));
    DestroyWindow(other);
}

TEST_F(MainWindowTest, PublisherLineIsBlueAndOpensTheAddressMaximisedThroughExplorer) {
    Open();
    const HWND label = Control(ControlId::Label9);
    const HDC dc = GetDC(label);
    SendMessageA(Control(ControlId::iFrame5), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(label, dc);

    SendMessageA(Control(ControlId::iFrame5), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(label), STN_CLICKED), reinterpret_cast<LPARAM>(label));
    ASSERT_EQ(started_.size(), 1u);
    EXPECT_EQ(started_[0].second, std::string("Explorer.exe ") + kPublisherAddress);
    // The system's Explorer, never one lying beside the program.
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(started_[0].first, std::string(windows) + "\\explorer.exe");
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(started_[0].first)));
}

}  // namespace
}  // namespace quenlo

namespace quenlo {
namespace {

// The panels' faces are the system's button face, like the labels on them: a change
// of the system's colours reaches both.
TEST_F(MainWindowTest, PanelsTakeANewButtonFaceColourAsTheirLabelsDo) {
    Open();
    const HWND panel = Control(ControlId::iFrame5);
    const INT element = COLOR_BTNFACE;
    const COLORREF before = GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = before == RGB(200, 180, 160) ? RGB(160, 180, 200) : RGB(200, 180, 160);
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    PumpUntilIdle();

    // The face as the panel paints it, and the colours a label on it is given.
    RECT client{};
    GetClientRect(panel, &client);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageA(panel, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF face = GetPixel(memory, client.right / 2, client.bottom / 2);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory),
                     reinterpret_cast<LPARAM>(Control(ControlId::Label5))));
    LOGBRUSH labelBack{};
    GetObjectA(brush, sizeof labelBack, &labelBack);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    SetSysColors(1, &element, &before);

    EXPECT_EQ(face, changed);
    EXPECT_EQ(labelBack.lbColor, changed);
}

// Labels measured in the wrong code page once grew over the panel's border.
TEST_F(MainWindowTest, StatusPanelBorderIsWholeOnScreen) {
    Open(SW_SHOWNORMAL);
    const HWND panel = Control(ControlId::iFrame5);
    for (int i = 0; i < 5; ++i) {  // let the display's expose events arrive and paint
        Sleep(20);
        PumpUntilIdle();
    }
    RECT client{};
    GetClientRect(panel, &client);
    const HDC dc = GetDC(panel);
    int missing = 0;
    for (int y = 0; y < client.bottom; ++y) {
        missing += GetPixel(dc, client.right - 1, y) != RGB(215, 208, 172);
        missing += GetPixel(dc, 0, y) != RGB(215, 208, 172);
    }
    ReleaseDC(panel, dc);
    EXPECT_EQ(missing, 0);
}

}  // namespace
}  // namespace quenlo
