#include "skin/registry/window_queries.h"

#include "skin/common/gdi_handles.h"
#include "platform/ansi_text.h"
#include "platform/display_dpi.h"
#include "platform/system_library.h"
#include "skin/common/rounding.h"

namespace quenlo::skin {

std::string GetWindowClass(HWND window) {
    char buffer[256] = {};
    int length = GetClassNameA(window, buffer, 255);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<size_t>(length));
}

std::string GetWindowCaption(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::string caption(static_cast<size_t>(length) + 1, '\0');
    // The length asked for may exceed what comes back (it is an upper bound for DBCS
    // text); keep only what was copied.
    int copied = GetWindowTextA(window, caption.data(), length + 1);
    caption.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return caption;
}

bool IsFunctionExported(const char* functionName, const char* moduleName) {
    UniqueHmodule loadedHere;
    HMODULE module = GetModuleHandleA(moduleName);
    if (module == nullptr) {
        // Never by the bare name: only the system folder's module of that name counts.
        loadedHere.reset(LoadSystemLibrary(WideFromUtf8(AnsiToUtf8(moduleName)).c_str()));
        module = loadedHere.get();
        if (module == nullptr) {
            return false;
        }
    }
    return GetProcAddress(module, functionName) != nullptr;
}

int GetBorderMetrics(HWND window, int& cx, int& cy) {
    RECT windowRect{};
    RECT clientRect{};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    int dx = (windowRect.right - windowRect.left) - (clientRect.right - clientRect.left);
    int dy = (windowRect.bottom - windowRect.top) - (clientRect.bottom - clientRect.top);
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (style & WS_VSCROLL) {
        dx -= WindowMetric(window, SM_CXVSCROLL);
    }
    if (style & WS_HSCROLL) {
        dy -= WindowMetric(window, SM_CYHSCROLL);
    }
    cx = RoundHalfEven(dx / 2.0);
    cy = RoundHalfEven(dy / 2.0);
    return 1;
}

int WindowMetric(HWND window, int index) {
    return SystemMetricForDpi(index, WindowDpi(window));
}

}  // namespace quenlo::skin
