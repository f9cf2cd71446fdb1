// Move-only owners for the GDI and USER handles the skin creates per call, so every
// device context, bitmap, brush, palette and selection is released on every path.
// One template makes them all (the unique_any pattern); the few handles that outlive
// a call on purpose (the skin images, a button's state bitmaps) are released by hand
// by the code that owns them.
#pragma once

#include <windows.h>

#include <utility>

namespace quenlo::skin {

template <typename Handle, void (*Close)(Handle)>
class UniqueAny {
public:
    UniqueAny() = default;
    explicit UniqueAny(Handle handle) : handle_(handle) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueAny() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Gives the handle away: the caller now owns it.
    Handle release() { return std::exchange(handle_, nullptr); }

    void reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (old != nullptr) {
            Close(old);
        }
    }

private:
    Handle handle_ = nullptr;
};

namespace detail {
inline void CloseDc(HDC dc) {
    DeleteDC(dc);
}
inline void CloseBitmap(HBITMAP bitmap) {
    DeleteObject(bitmap);
}
inline void CloseBrush(HBRUSH brush) {
    DeleteObject(brush);
}
inline void CloseFont(HFONT font) {
    DeleteObject(font);
}
inline void ClosePalette(HPALETTE palette) {
    DeleteObject(palette);
}
inline void CloseRegion(HRGN region) {
    DeleteObject(region);
}
inline void CloseModule(HMODULE module) {
    FreeLibrary(module);
}
}  // namespace detail

using UniqueHdc = UniqueAny<HDC, detail::CloseDc>;  // CreateDCA, CreateCompatibleDC
using UniqueHbitmap = UniqueAny<HBITMAP, detail::CloseBitmap>;
using UniqueHbrush = UniqueAny<HBRUSH, detail::CloseBrush>;
using UniqueHfont = UniqueAny<HFONT, detail::CloseFont>;
using UniqueHpalette = UniqueAny<HPALETTE, detail::ClosePalette>;
// A region until SetWindowRgn takes it over: release() it at that moment.
using UniqueHrgn = UniqueAny<HRGN, detail::CloseRegion>;
using UniqueHmodule = UniqueAny<HMODULE, detail::CloseModule>;  // a module loaded here

// A device context borrowed from a window (GetWindowDC or GetDC), handed back with
// ReleaseDC.
class WindowDc {
public:
    static WindowDc Whole(HWND window) { return WindowDc(window, GetWindowDC(window)); }
    static WindowDc Client(HWND window) { return WindowDc(window, GetDC(window)); }

    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }

    HDC get() const { return dc_; }

private:
    WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    HWND window_;
    HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }

    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;
    ~SelectObjectGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a palette as a background palette, realises it, and on release selects
// and realises the previous one again.
class SelectPaletteGuard {
public:
    SelectPaletteGuard(HDC dc, HPALETTE palette)
        : dc_(dc), previous_(SelectPalette(dc, palette, TRUE)) {
        RealizePalette(dc);
    }
    SelectPaletteGuard(const SelectPaletteGuard&) = delete;
    SelectPaletteGuard& operator=(const SelectPaletteGuard&) = delete;
    ~SelectPaletteGuard() {
        if (previous_ != nullptr) {
            SelectPalette(dc_, previous_, TRUE);
            RealizePalette(dc_);
        }
    }

private:
    HDC dc_;
    HPALETTE previous_;
};

}  // namespace quenlo::skin
