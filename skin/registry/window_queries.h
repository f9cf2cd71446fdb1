// Small window queries shared by the attachment, the handlers and the painters.
#pragma once

#include <windows.h>

#include <string>

namespace quenlo::skin {

// The class name; empty when it cannot be read.
std::string GetWindowClass(HWND window);

// The window's text, in the ANSI code page.
std::string GetWindowCaption(HWND window);

// Whether the module exports the function. A module this call had to load, from the
// system folder only, is released again; one already loaded is left as it was.
bool IsFunctionExported(const char* functionName, const char* moduleName);

// Thickness of the left (= right) border into cx and of the top (= bottom) border
// into cy, scroll bars left out, halves going to the even neighbour. Returns 1.
int GetBorderMetrics(HWND window, int& cx, int& cy);

// A system metric (check box size, scroll bar width, ...) at the DPI the window is
// drawn at, which under per-monitor scaling need not be the system's.
int WindowMetric(HWND window, int index);

}  // namespace quenlo::skin
