#include "main_window/main_window.h"

#include <oleacc.h>
#include <shellapi.h>

#include <string>
#include <utility>

#include "controls/frame.h"
#include "conversion/texts.h"
#include "main_window/accessible_controls.h"
#include "main_window/command_line_file.h"
#include "main_window/explorer_messages.h"
#include "main_window/icon.h"
#include "main_window/window_skin.h"
#include "main_window/key_filter.h"
#include "platform/ansi_text.h"
#include "platform/display_dpi.h"
#include "platform/window_subclass.h"

namespace quenlo {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                               WS_CLIPCHILDREN;  // fixed single border, no maximise
constexpr UINT_PTR kText3FilterId = 1;
constexpr char kText4AccessibleName[] = "导入文件：";

// Text3 takes digits, space and backspace only; any other key is dropped.
LRESULT CALLBACK Text3Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
    if (message == WM_CHAR && FilterOrderKey(static_cast<int>(wParam)) == 0) {
        return 0;
    }
    return DefaultSubclassProc(window, message, wParam, lParam);
}

// The outer size of the window whose client area is the layout's at the given DPI.
SIZE FrameSizeAt(int dpi) {
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
    AdjustFrameForDpi(frame, kWindowStyle, 0, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

BOOL CALLBACK TellSystemColoursChanged(HWND child, LPARAM) {
    SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

struct CreateParams {
    WindowServices* services;
};

}  // namespace

HWND MainWindow::Create(WindowServices services, int showCommand) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExA(instance, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = CreateQuenloIcon(32);
        windowClass.hIconSm = CreateQuenloIcon(16);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        RegisterClassExA(&windowClass);
    }

    // Centred on the primary screen, laid out for the DPI of the monitor there.
    const POINT centre{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    const int dpi = services.dpi.monitorAt(centre);
    const SIZE size = FrameSizeAt(dpi);
    const int width = size.cx;
    const int height = size.cy;
    const int left = centre.x - width / 2;
    const int top = centre.y - height / 2;

    services = WithPlatformDefaults(std::move(services));
    CreateParams params{&services};
    const HWND window =
        CreateWindowExA(0, kClassName, Utf8ToAnsi(kWindowCaption).c_str(), kWindowStyle, left, top,
                        width, height, nullptr, nullptr, instance, &params);
    if (!window) {
        return nullptr;
    }
    // The system may have put the window on a monitor of another scale than the one
    // guessed: its frame then follows the DPI it really has.
    if (MainWindow* created = FromWindow(window); created->dpi_ != dpi) {
        const SIZE actual = FrameSizeAt(created->dpi_);
        SetWindowPos(window, nullptr, centre.x - actual.cx / 2, centre.y - actual.cy / 2, actual.cx,
                     actual.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Window loads: the skin goes on before the window is first seen.
    FromWindow(window)->ApplySkinUnlessHighContrast();
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    // A file handed to the program is taken as if picked with the import button; a
    // refusal comes once the window is seen.
    FromWindow(window)->ImportHandedFile(
        FileFromCommandLine(FromWindow(window)->services_.commandLine));
    SetFocus(FromWindow(window)->Control(ControlId::Command1));
    return window;
}

MainWindow* MainWindow::FromWindow(HWND window) {
    char className[sizeof kClassName + 1] = {};
    if (!window || !GetClassNameA(window, className, sizeof className) ||
        std::string_view(className) != kClassName) {
        return nullptr;
    }
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

MainWindow::MainWindow(HWND window, WindowServices services)
    : window_(window), services_(std::move(services)), host_(*this, services_) {}

skin::UniqueHfont MainWindow::MakeFontForDpi() {
    // The stock GUI font is made for the system DPI; at any other the same face is
    // made again at the height that DPI gives it.
    const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int systemDpi = services_.dpi.system();
    if (dpi_ == systemDpi) {
        font_ = stock;
        return std::move(scaledFont_);
    }
    LOGFONTA face{};
    GetObjectA(stock, sizeof face, &face);
    face.lfHeight = MulDiv(face.lfHeight, dpi_, systemDpi);
    face.lfWidth = MulDiv(face.lfWidth, dpi_, systemDpi);
    skin::UniqueHfont previous =
        std::exchange(scaledFont_, skin::UniqueHfont(CreateFontIndirectA(&face)));
    font_ = scaledFont_ ? scaledFont_.get() : stock;
    return previous;
}

void MainWindow::CreateControls() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const ControlLayout& row : MainWindowLayout()) {
        const HWND parent = row.container == ControlId::Window ? window_ : Control(row.container);
        const RECT place = PixelPlace(row, dpi_);
        const DWORD visible = row.visible ? WS_VISIBLE : 0;
        const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandIdOf(row.id)));
        const std::string text = Utf8ToAnsi(row.text);

        const char* className = "STATIC";
        DWORD style = WS_CHILD | visible;
        DWORD exStyle = 0;
        switch (row.kind) {
            case ControlKind::Frame: {
                const std::size_t index = static_cast<std::size_t>(row.id);
                controls_[index] = iFrame::Create(parent, CommandIdOf(row.id), place, visible,
                                                  &savedProperties_[index]);
                iFrame::FromWindow(controls_[index])->SetSystemColours(highContrast_);
                continue;
            }
            case ControlKind::TextBox:
                className = "EDIT";
                style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case ControlKind::Button:
                className = "BUTTON";
                style |= WS_TABSTOP | BS_PUSHBUTTON;
                break;
            case ControlKind::Label:
                style |= SS_LEFT | SS_NOPREFIX;
                break;
            case ControlKind::AutoSizeLabel:
                style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
                break;
            case ControlKind::LinkLabel:
                style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
                break;
        }
        const HWND control = CreateWindowExA(
            exStyle, className, text.c_str(), style, place.left, place.top,
            place.right - place.left, place.bottom - place.top, parent, menu, instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        controls_[static_cast<std::size_t>(row.id)] = control;
        if (row.kind == ControlKind::AutoSizeLabel) {
            FitLabelToCaption(row.id);
        }
    }
    AddSubclass(Control(ControlId::Text3), Text3Proc, kText3FilterId, 0);
    // Readers name a button by its caption and an edit by the label before it; Text4
    // has none, and under the skin the buttons are owner-drawn.
    for (ControlId button : {ControlId::Command1, ControlId::Command2}) {
        GiveAccessibleNameAndRole(Control(button), Control(button), {}, ROLE_SYSTEM_PUSHBUTTON);
    }
    GiveAccessibleNameAndRole(Control(ControlId::Text4), nullptr, kText4AccessibleName,
                              ROLE_SYSTEM_TEXT);
    GiveAccessibleNameAndRole(Control(ControlId::Text7), Control(ControlId::Label13), {},
                              ROLE_SYSTEM_TEXT);
}

void MainWindow::LayOutControls() {
    for (const ControlLayout& row : MainWindowLayout()) {
        const HWND control = Control(row.id);
        // The font first: a skinned button renders its pictures again when it is
        // resized, and they must hold the caption in the new font.
        if (row.kind != ControlKind::Frame) {
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        }
        const RECT place = PixelPlace(row, dpi_);
        SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (row.kind == ControlKind::AutoSizeLabel) {
            FitLabelToCaption(row.id);
        }
    }
    OnLabel7Change();
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    const skin::UniqueHfont previousFont = MakeFontForDpi();
    // The system's rectangle keeps the window where the user sees it on the new monitor.
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutControls();
    SetIcons(CreateQuenloIcon(SystemMetricForDpi(SM_CXSMICON, dpi_)),
             CreateQuenloIcon(SystemMetricForDpi(SM_CXICON, dpi_)));
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void MainWindow::SetIcons(HICON small, HICON big) {
    // Only icons given here come back from WM_SETICON: the class's are never destroyed.
    for (const auto& [kind, icon] : {std::pair{ICON_SMALL, small}, std::pair{ICON_BIG, big}}) {
        const auto previous = reinterpret_cast<HICON>(SendMessageA(
            window_, WM_SETICON, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(icon)));
        if (previous != nullptr) {
            DestroyIcon(previous);
        }
    }
}

std::string MainWindow::Text(ControlId id) const {
    const HWND control = Control(id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return AnsiToUtf8(text);
}

void MainWindow::SetText(ControlId id, std::string_view text) {
    SetWindowTextA(Control(id), Utf8ToAnsi(text).c_str());
    if (LayoutOf(id).kind == ControlKind::AutoSizeLabel) {
        FitLabelToCaption(id);
    }
    if (id == ControlId::Label7) {
        OnLabel7Change();
    }
}

void MainWindow::FitLabelToCaption(ControlId id) {
    const HWND label = Control(id);
    // Measured in UTF-16 as the control keeps it: the A text functions of GDI read
    // bytes in the font's code page, not the process's, and would misjudge CJK text.
    const std::wstring caption = WindowTextOf(label);
    const HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, font_);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    SetWindowPos(label, nullptr, 0, 0, extent.cx, metrics.tmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label, nullptr, TRUE);
}

void MainWindow::SetTimer1Enabled(bool enabled) {
    if (enabled) {
        SetTimer(window_, kTimer1Id, kTimer1Interval, nullptr);
    } else {
        KillTimer(window_, kTimer1Id);
    }
    timer1Enabled_ = enabled;
}

void MainWindow::ShowBox(std::string_view text, std::string_view title, UINT type) {
    services_.messageBox(window_, text, title, type);
}

LRESULT MainWindow::OnCtlColorStatic(HDC dc, HWND control) {
    if (highContrast_) {
        // The theme's colours only: a fixed one may be unreadable on its faces.
        const bool link = control == Control(ControlId::Label9);
        SetTextColor(dc, GetSysColor(link ? COLOR_HOTLIGHT : COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    if (control == Control(ControlId::Label9)) {
        SetTextColor(dc, kLinkColor);
    }
    // A label shows the face of whatever it sits on.
    if (const iFrame* frame = iFrame::FromWindow(GetParent(control))) {
        SetBkColor(dc, TranslateOleColor(frame->BackColor()));
        return reinterpret_cast<LRESULT>(frame->BackBrush());
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::ApplySkinUnlessHighContrast() {
    if (!highContrast_) {
        ApplyWindowSkin(window_);
    }
}

// Asked again whenever the system says its colours or settings changed; the skin
// comes off or goes on at once, also in the middle of a run.
void MainWindow::FollowHighContrast() {
    const bool on = services_.highContrast();
    if (on == highContrast_) {
        return;
    }
    highContrast_ = on;
    for (const ControlLayout& row : MainWindowLayout()) {
        if (iFrame* frame = iFrame::FromWindow(Control(row.id))) {
            frame->SetSystemColours(on);
        }
    }
    if (on) {
        RemoveWindowSkin(window_);
    } else {
        ApplyWindowSkin(window_);
    }
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void MainWindow::OnCommand(int commandId, int code) {
    // Under the skin the buttons are owner-drawn, and an owner-drawn button reports a
    // second click soon after the first as a double click: a stop right after a start.
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    if (commandId == IDOK) {
        OnEnterKey();  // the dialog manager's Enter; no control has this identifier
        return;
    }
    switch (ControlFromCommandId(commandId)) {
        case ControlId::Command1:
            if (clicked) {
                OnCommand1Click();
            }
            break;
        case ControlId::Command2:
            if (clicked) {
                OnCommand2Click();
            }
            break;
        case ControlId::Label9:
            if (code == STN_CLICKED) {
                OnLabel9Click();
            }
            break;
        default:
            break;
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* params = static_cast<const CreateParams*>(
            reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        auto* created = new MainWindow(window, std::move(*params->services));
        created->highContrast_ = created->services_.highContrast();
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete self;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

// The one routing table of the window. A handler may end the window's life (close
// after a run), so nothing here touches the object after calling one.
LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarButtonCreatedMessage()) {
        services_.taskbar->ButtonCreated(window_);
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            dpi_ = services_.dpi.window(window_);
            MakeFontForDpi();
            if (dpi_ != kDefaultDpi) {  // the class's icons are drawn for 96
                SetIcons(CreateQuenloIcon(SystemMetricForDpi(SM_CXSMICON, dpi_)),
                         CreateQuenloIcon(SystemMetricForDpi(SM_CXICON, dpi_)));
            }
            CreateControls();
            AcceptExplorersMessages(window_, services_.changeMessageFilter);
            DragAcceptFiles(window_, TRUE);
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1Id) {
                OnTimer1Tick();
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == Control(ControlId::Label9)) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SYSCOLORCHANGE:
            // Only top-level windows hear of it; the panels paint their own faces.
            EnumChildWindows(window_, TellSystemColoursChanged, 0);
            FollowHighContrast();
            break;
        case WM_SETTINGCHANGE:
            FollowHighContrast();
            break;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_ACTIVATE:
            // Give the focus back to the control that had it, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ && IsChild(window_, lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_QUERYENDSESSION:
            OnQueryEndSession();
            break;  // the session may end: DefWindowProc's TRUE
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            break;
        case WM_CLOSE:
            if (OnClose()) {
                // Window unloads: every control gives its skin back first.
                RemoveWindowSkin(window_);
                DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            // Destroyed without a close (the skin detached itself on the way here).
            KillTimer(window_, kTimer1Id);
            SetIcons(nullptr, nullptr);
            if (services_.quitOnDestroy) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace quenlo
