// A visible parent on the virtual display, the skin images, and real controls with
// the window properties a skinned control carries, for the painter tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "skin/engine/window_props.h"
#include "skin/images/skin_blit.h"
#include "skin/images/skin_images.h"
#include "test_windows.h"

namespace quenlo::skin {

class PainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        BuildSkinImages();
        ShowWindow(parent_.window(), SW_SHOWNOACTIVATE);
        PumpMessages();
    }
    void TearDown() override { DeleteSkinImages(); }

    // The whole window as it shows now.
    static PixelGrid ReadWindow(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        HDC dc = GetWindowDC(window);
        PixelGrid grid(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
        ReleaseDC(window, dc);
        return grid;
    }
    // Lets the system paint the controls first, as it does before the skin draws.
    static void Settle() {
        PumpMessages();
        GdiFlush();
    }

    TestParent parent_;
};

}  // namespace quenlo::skin
