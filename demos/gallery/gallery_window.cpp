#include "demos/gallery/gallery_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "controls/frame.h"
#include "demos/gallery/gallery_contents.h"
#include "demos/gallery/look_alike_classes.h"
#include "file_dialog/file_dialog.h"
#include "platform/ansi_text.h"
#include "platform/display_dpi.h"
#include "skin/engine/skin_attachment.h"

namespace quenlo::gallery {
namespace {

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Light blue, so the keyed corners of the option circles show over a colour of their own.
constexpr COLORREF kOptionPanelColor = RGB(226, 239, 250);

constexpr char kMessageBoxText[] = "这是一个消息框：它和它的按钮都由皮肤绘制。\n点一个按钮关闭它。";
constexpr char kFileFilter[] = "文本文件(*.TXT)|*.txt|所有文件(*.*)|*.*";

class GalleryWindow {
public:
    GalleryWindow(HWND window, const GalleryOptions& options, int dpi)
        : window_(window),
          options_(options),
          dpi_(dpi),
          font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {}

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    HWND Control(GalleryControl id) const { return GalleryControlWindow(window_, id); }
    void SetStatus(std::string_view text) const;
    void OnMessageBoxClick() const;
    void OnOpenFileClick() const;
    LRESULT OnCtlColorStatic(HDC dc, HWND control);

    HWND window_;
    GalleryOptions options_;
    int dpi_;
    HFONT font_;  // stock: never deleted
    HWND lastFocus_ = nullptr;
};

struct CreateParams {
    const GalleryOptions* options;
    int dpi;
};

void GalleryWindow::CreateControls() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const GalleryRow& row : GalleryLayout()) {
        const HWND parent =
            row.container == GalleryControl::Window ? window_ : Control(row.container);
        const int left = Scale(row.left);
        const int top = Scale(row.top);
        const int width = Scale(row.width);
        const int height = Scale(row.height);
        const int id = GalleryCommandId(row.id);
        if (std::string_view(row.className) == iFrame::kClassName) {
            iFrame::Create(parent, id, {left, top, left + width, top + height}, WS_VISIBLE,
                           nullptr);
            continue;
        }
        const HWND control =
            CreateWindowExA(row.exStyle, row.className, Utf8ToAnsi(row.text).c_str(),
                            WS_CHILD | WS_VISIBLE | row.style, left, top, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    if (iFrame* panel = iFrame::FromWindow(Control(GalleryControl::OptionPanel))) {
        panel->SetBackColor(kOptionPanelColor);
    }
    FillGalleryContents(window_, dpi_);
}

void GalleryWindow::SetStatus(std::string_view text) const {
    SetWindowTextA(Control(GalleryControl::StatusLabel), Utf8ToAnsi(text).c_str());
}

void GalleryWindow::OnMessageBoxClick() const {
    // Owned by the skinned window: the skin takes it on when it is activated.
    const int answer =
        MessageBoxA(window_, Utf8ToAnsi(kMessageBoxText).c_str(),
                    Utf8ToAnsi(kGalleryCaption).c_str(), MB_OKCANCEL | MB_ICONINFORMATION);
    SetStatus(answer == IDOK       ? "消息框的回答：确定"
              : answer == IDCANCEL ? "消息框的回答：取消"
                                   : "消息框没有打开");
}

void GalleryWindow::OnOpenFileClick() const {
    cFileDialog dialog;
    dialog.SetFilter(kFileFilter);
    dialog.SetFlags(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    dialog.SetHWnd(window_);
    dialog.SetCancelError(true);
    dialog.ShowOpen();
    if (dialog.Filename().empty()) {
        SetStatus("打开文件对话框：已取消");
    } else {
        SetStatus("打开文件对话框：选中 " + dialog.Filename());
    }
}

LRESULT GalleryWindow::OnCtlColorStatic(HDC dc, HWND control) {
    // Check boxes and option buttons show the face of the panel they sit on.
    if (const iFrame* panel = iFrame::FromWindow(GetParent(control))) {
        SetBkColor(dc, TranslateOleColor(panel->BackColor()));
        return reinterpret_cast<LRESULT>(panel->BackBrush());
    }
    return DefWindowProcA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
}

LRESULT CALLBACK GalleryWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* params = static_cast<const CreateParams*>(
            reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        auto* created = new GalleryWindow(window, *params->options, params->dpi);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<GalleryWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
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

LRESULT GalleryWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                if (LOWORD(wParam) == GalleryCommandId(GalleryControl::MessageBoxButton)) {
                    OnMessageBoxClick();
                } else if (LOWORD(wParam) == GalleryCommandId(GalleryControl::OpenFileButton)) {
                    OnOpenFileClick();
                }
            }
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ACTIVATE:
            // Give the focus back to the control that had it, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ && IsChild(window_, lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_CLOSE:
            // Every control gives its skin back before the window goes.
            skin::RemoveSkin(window_);
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            if (options_.quitOnDestroy) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace

HWND CreateGalleryWindow(const GalleryOptions& options) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterLookAlikeClasses(instance)) {
        return nullptr;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExA(instance, kVbFormClass, &windowClass)) {
        windowClass.lpfnWndProc = GalleryWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kVbFormClass;
        if (!RegisterClassExA(&windowClass)) {
            return nullptr;
        }
    }

    // Centred on the primary monitor's work area, but never above or left of it: a
    // window taller than the screen keeps its caption, and so its close button, in reach.
    const POINT origin{0, 0};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const POINT centre{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    const int dpi = options.dpi > 0 ? options.dpi : MonitorDpiAt(centre);
    RECT frame{0, 0, MulDiv(kGalleryClientWidth, dpi, 96), MulDiv(kGalleryClientHeight, dpi, 96)};
    AdjustFrameForDpi(frame, kWindowStyle, 0, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = std::max<int>(work.left, centre.x - width / 2);
    const int top = std::max<int>(work.top, centre.y - height / 2);

    CreateParams params{&options, dpi};
    const HWND window =
        CreateWindowExA(0, kVbFormClass, Utf8ToAnsi(kGalleryCaption).c_str(), kWindowStyle, left,
                        top, width, height, nullptr, nullptr, instance, &params);
    if (!window) {
        return nullptr;
    }
    skin::ApplySkin(window);
    ShowWindow(window, options.showCommand);
    UpdateWindow(window);
    SetFocus(GalleryControlWindow(window, GalleryControl::ButtonFocus));
    return window;
}

HWND GalleryControlWindow(HWND gallery, GalleryControl id) {
    char className[sizeof kVbFormClass + 1] = {};
    if (!gallery || !GetClassNameA(gallery, className, sizeof className) ||
        std::string_view(className) != kVbFormClass || id == GalleryControl::Window) {
        return nullptr;
    }
    if (id == GalleryControl::ListViewHeader) {
        const HWND listView = GalleryControlWindow(gallery, GalleryControl::ListView);
        return reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    }
    const GalleryRow& row = GalleryRowOf(id);
    const HWND parent = row.container == GalleryControl::Window
                            ? gallery
                            : GalleryControlWindow(gallery, row.container);
    return GetDlgItem(parent, GalleryCommandId(id));
}

}  // namespace quenlo::gallery
