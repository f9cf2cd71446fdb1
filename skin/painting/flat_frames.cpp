#include "skin/painting/flat_frames.h"

#include "skin/common/gdi_handles.h"
#include "skin/registry/window_queries.h"
#include "skin/painting/primitives.h"

namespace quenlo::skin {

COLORREF BorderColourOf(HWND hWnd) {
    return IsWindowEnabled(hWnd) ? kBorderColour : kDisabledBorderColour;
}

void DrawFlatDoubleFrame(HWND hWnd) {
    WindowBox box;
    GetWindowSize(hWnd, box);
    WindowDc dc = WindowDc::Whole(hWnd);
    FrameColorRect(dc.get(), 0, 0, box.width, box.height, BorderColourOf(hWnd));
    FrameColorRect(dc.get(), 1, 1, box.width - 2, box.height - 2, kBackgroundColour);
}

void DrawFlatOuterFrame(HWND hWnd) {
    WindowBox box;
    GetWindowSize(hWnd, box);
    WindowDc dc = WindowDc::Whole(hWnd);
    FrameColorRect(dc.get(), 0, 0, box.width, box.height, BorderColourOf(hWnd));
}

void DrawFlatClientEdge(HWND hWnd) {
    int bx = 0;
    int by = 0;
    GetBorderMetrics(hWnd, bx, by);
    WindowBox box;
    GetWindowSize(hWnd, box);
    WindowDc windowDc = WindowDc::Whole(hWnd);
    WindowDc clientDc = WindowDc::Client(hWnd);
    FrameColorRect(windowDc.get(), 0, 0, box.width, box.height, BorderColourOf(hWnd));
    // The right and bottom edges stay put while left and top move in: the rings
    // cover the sunken edge's two-tone pixels on every side.
    for (int d = 1; d <= bx; ++d) {
        FrameColorRect(windowDc.get(), d, d, box.width - d - 1, box.height - d - 1,
                       GetBkColor(clientDc.get()));
    }
}

}  // namespace quenlo::skin
