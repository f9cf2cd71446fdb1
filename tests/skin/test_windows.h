// Real windows for the skin tests: a hidden top-level parent with children, and a
// few helpers to read pixels back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quenlo::skin {

class TestParent {
public:
    // A class with the default window procedure and a white background.
    static constexpr const char* kPlainClass = "QuenloSkinTestPlain";

    TestParent();
    ~TestParent();
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND window() const { return window_; }
    HWND AddChild(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y,
                  int width, int height);

private:
    HWND window_;
};

// Processes every pending message of this thread.
void PumpMessages();

// A 32-bit top-down copy of a device context's pixels, read with GetDIBits through
// a bitmap of its own, as COLORREF values.
class PixelGrid {
public:
    PixelGrid(HDC source, int x, int y, int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }
    bool operator==(const PixelGrid& other) const = default;

private:
    int width_;
    int height_;
    std::vector<COLORREF> pixels_;
};

// A skinned button's face inside its rounded corners, as the screen shows it, is the
// state bitmap of that state (property "HDC0" to "HDC3").
bool ScreenShowsButtonState(HWND button, int state);

// A memory DC with a 32-bit DIB section: exact colours, whatever the display depth.
class TestSurface {
public:
    TestSurface(int width, int height, COLORREF fill);
    ~TestSurface();
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
    PixelGrid Grid() const { return PixelGrid(dc_, 0, 0, width_, height_); }
    void Fill(COLORREF colour);

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

std::string ColourText(COLORREF colour);

}  // namespace quenlo::skin
