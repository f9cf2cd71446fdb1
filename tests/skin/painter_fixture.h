// A visible parent on the virtual display, the skin images, and real controls with
// the window properties a skinned control carries, for the painter tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "skin/registry/window_props.h"
#include "skin/images/skin_blit.h"
#include "skin/images/skin_images.h"
#include "test_windows.h"

namespace quenlo::skin {

class PainterTest : public ::testing::Test {
protected:
    // One parent for the whole suite: showing a new top-level window costs Wine
    // seconds, children cost next to nothing.
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        parent_ = new TestParent;
        ShowWindow(parent_->window(), SW_SHOWNOACTIVATE);
        PumpMessages();
    }
    static void TearDownTestSuite() {
        delete parent_;
        parent_ = nullptr;
    }
    void SetUp() override { BuildSkinImages(); }
    void TearDown() override {
        while (HWND child = GetWindow(parent_->window(), GW_CHILD)) {
            DestroyWindow(child);
        }
        PumpMessages();
        DeleteSkinImages();
    }

    static TestParent& Parent() { return *parent_; }

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

    static inline TestParent* parent_ = nullptr;
};

}  // namespace quenlo::skin
