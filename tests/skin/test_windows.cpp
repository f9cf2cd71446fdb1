#include "test_windows.h"

#include <cstdio>
#include <string>

namespace quenlo::skin {
namespace {

void RegisterPlainClass() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = TestParent::kPlainClass;
    RegisterClassA(&windowClass);
    registered = true;
}

HBITMAP CreateTopDownDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

TestParent::TestParent() {
    RegisterPlainClass();
    window_ =
        CreateWindowExA(0, kPlainClass, "skin test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                        400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TestParent::~TestParent() {
    DestroyWindow(window_);
    PumpMessages();
}

HWND TestParent::AddChild(const char* className, const char* text, DWORD style, DWORD exStyle,
                          int x, int y, int width, int height) {
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, window_, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

PixelGrid::PixelGrid(HDC source, int x, int y, int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {
    void* bits = nullptr;
    HBITMAP dib = CreateTopDownDib(width, height, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < pixels_.size(); ++i) {
        pixels_[i] = RGB(bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]);
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(dib);
}

TestSurface::TestSurface(int width, int height, COLORREF fill)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    void* bits = nullptr;
    bitmap_ = CreateTopDownDib(width, height, &bits);
    previous_ = SelectObject(dc_, bitmap_);
    Fill(fill);
}

TestSurface::~TestSurface() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

void TestSurface::Fill(COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

std::string ColourText(COLORREF colour) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

bool ScreenShowsButtonState(HWND button, int state) {
    RECT box{};
    GetWindowRect(button, &box);
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    HDC dc = GetWindowDC(button);
    const PixelGrid shown(dc, 2, 2, w - 4, h - 4);
    ReleaseDC(button, dc);
    const std::string name = "HDC" + std::to_string(state);
    return shown == PixelGrid(static_cast<HDC>(GetPropA(button, name.c_str())), 2, 2, w - 4, h - 4);
}

}  // namespace quenlo::skin
