#include "controls/frame.h"

#include <string_view>
#include <utility>

namespace quenlo {
namespace {

constexpr int kInstanceSlot = 0;  // window extra bytes: the iFrame behind the handle

bool IsForwardedToParent(UINT message) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return true;
        default:
            return false;
    }
}

}  // namespace

COLORREF TranslateOleColor(OleColor color) {
    if (color & 0x80000000u) {
        return GetSysColor(static_cast<int>(color & 0xFFFFu));
    }
    return color & 0x00FFFFFFu;
}

HWND iFrame::Create(HWND parent, int id, const RECT& place, DWORD style, PropertyBag* saved) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExA(instance, kClassName, &windowClass)) {
        windowClass.style = CS_HREDRAW | CS_VREDRAW;  // the border follows both edges
        windowClass.lpfnWndProc = WindowProc;
        windowClass.cbWndExtra = sizeof(LONG_PTR);
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = kClassName;
        RegisterClassExA(&windowClass);
    }
    // WS_EX_CONTROLPARENT: dialog navigation steps into the panel's controls.
    return CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, "", style | WS_CHILD | WS_CLIPCHILDREN,
                           place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, saved);
}

iFrame* iFrame::FromWindow(HWND window) {
    char className[sizeof kClassName + 1] = {};
    if (!window || !GetClassNameA(window, className, sizeof className) ||
        std::string_view(className) != kClassName) {
        return nullptr;
    }
    return reinterpret_cast<iFrame*>(GetWindowLongPtrA(window, kInstanceSlot));
}

iFrame::iFrame(HWND window, PropertyBag* saved)
    : window_(window), saved_(saved), backBrush_(CreateSolidBrush(TranslateOleColor(backColor_))) {
    if (saved_) {
        ReadProperties(*saved_);
    }
}

iFrame::~iFrame() {
    DeleteObject(backBrush_);
}

COLORREF iFrame::FaceColour() const {
    return systemColours_ ? GetSysColor(COLOR_BTNFACE) : TranslateOleColor(backColor_);
}

void iFrame::RenewBrush() {
    DeleteObject(std::exchange(backBrush_, CreateSolidBrush(FaceColour())));
}

void iFrame::SetSystemColours(bool on) {
    systemColours_ = on;
    RenewBrush();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void iFrame::SetBackColor(OleColor New_BackColor) {
    backColor_ = New_BackColor;
    RenewBrush();
    InvalidateRect(window_, nullptr, TRUE);
    if (saved_) {
        saved_->PropertyChanged(kBackColorProperty);
    }
}

void iFrame::ReadProperties(const PropertyBag& bag) {
    const auto color = bag.Read(kBackColorProperty, kButtonFaceOleColor);
    backColor_ = static_cast<OleColor>(color);
    RenewBrush();
}

void iFrame::WriteProperties(PropertyBag& bag) const {
    bag.Write(kBackColorProperty, backColor_, kButtonFaceOleColor);
}

void iFrame::Paint(HDC dc) const {
    RECT face{};
    GetClientRect(window_, &face);
    FillRect(dc, &face, backBrush_);
    // A solid one-pixel outline with a transparent inside, in front of the face.
    const HBRUSH border =
        CreateSolidBrush(systemColours_ ? GetSysColor(COLOR_WINDOWTEXT) : kFrameBorderColor);
    FrameRect(dc, &border_, border);
    DeleteObject(border);
}

LRESULT CALLBACK iFrame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* frame = new iFrame(window, static_cast<PropertyBag*>(create->lpCreateParams));
        SetWindowLongPtrA(window, kInstanceSlot, reinterpret_cast<LONG_PTR>(frame));
    }
    auto* frame = reinterpret_cast<iFrame*>(GetWindowLongPtrA(window, kInstanceSlot));
    if (!frame) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, kInstanceSlot, 0);
        delete frame;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return frame->HandleMessage(message, wParam, lParam);
}

LRESULT iFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwardedToParent(message)) {
        const LRESULT result = SendMessageA(GetParent(window_), message, wParam, lParam);
        // A parent that leaves a static's or a button's colours alone gets the panel's.
        if (result == 0 && (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN)) {
            SetBkColor(reinterpret_cast<HDC>(wParam), FaceColour());
            return reinterpret_cast<LRESULT>(backBrush_);
        }
        return result;
    }
    switch (message) {
        case WM_SIZE: {
            // The border's place is replaced at every resize, zero sizes included.
            RECT client{};
            GetClientRect(window_, &client);
            border_ = client;
            return 0;
        }
        case WM_SYSCOLORCHANGE:
            // A face of a system colour takes the new one, as the labels on it do.
            if (systemColours_ || (backColor_ & 0x80000000u)) {
                RenewBrush();
            }
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the face and draws the border in one go
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(window_, &paint);
            Paint(dc);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

}  // namespace quenlo
