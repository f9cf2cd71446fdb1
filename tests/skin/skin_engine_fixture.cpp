#include "skin_engine_fixture.h"

#include <commctrl.h>

#include <algorithm>

namespace quenlo::skin {
namespace {

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormMessages().push_back({message, wParam, lParam});
    if (message == kEchoMessage) {
        return kEchoResult;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClassOnce(const char* name, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

// A system control class under another name: the same procedure and window bytes.
void RegisterSuperclass(const char* systemClass, const char* name) {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &windowClass)) {
        return;
    }
    GetClassInfoA(nullptr, systemClass, &windowClass);
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    windowClass.style &= ~CS_GLOBALCLASS;
    RegisterClassA(&windowClass);
}

// The skin's names are upper case; Wine and the theme engine add lower-case ones.
bool IsSkinStyleName(const char* name) {
    for (const char* c = name; *c != 0; ++c) {
        if (!((*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9'))) {
            return false;
        }
    }
    return *name != 0;
}

BOOL CALLBACK CollectName(HWND, LPSTR name, HANDLE, ULONG_PTR context) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 && IsSkinStyleName(name)) {
        reinterpret_cast<std::set<std::string>*>(context)->insert(name);
    }
    return TRUE;
}

}  // namespace

std::vector<RecordedMessage>& FormMessages() {
    static std::vector<RecordedMessage> messages;
    return messages;
}

int CountFormMessages(UINT message) {
    const auto& messages = FormMessages();
    return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                          [&](const auto& m) { return m.message == message; }));
}

void RegisterEngineTestClasses() {
    RegisterClassOnce("Form", FormProc);
    RegisterClassOnce(kUnlistedClass, DefWindowProcA);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterSuperclass(PROGRESS_CLASSA, kProgressClass);
    RegisterSuperclass("Button", kCheckBoxClass);
    RegisterSuperclass("Button", kOptionButtonClass);
    RegisterSuperclass("ComboBox", kDriveListClass);
}

// Wine waits up to a second for a top-level window to be unmapped under a display
// without a window manager; one host kept for the whole run spares every test that.
HWND SharedHost() {
    static HWND host = CreateWindowExA(0, kUnlistedClass, "engine test host",
                                       WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40, 700, 500,
                                       nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return host;
}

FormWindow::FormWindow(int width, int height, bool topLevel) {
    RegisterEngineTestClasses();
    const DWORD style = topLevel ? WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE : WS_CHILD | WS_VISIBLE;
    window_ = CreateWindowExA(0, "Form", "engine test", style, topLevel ? 60 : 0, topLevel ? 60 : 0,
                              width, height, topLevel ? nullptr : SharedHost(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    Pump();
    FormMessages().clear();
}

FormWindow::~FormWindow() {
    DestroyWindow(window_);
    Pump();
}

HWND FormWindow::Add(const char* className, const char* text, DWORD style, int x, int y, int width,
                     int height, DWORD exStyle) {
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, window_, nullptr, GetModuleHandleA(nullptr), nullptr);
}

POINT FormWindow::ScreenPointOf(HWND child, int x, int y) const {
    POINT point{x, y};
    ClientToScreen(child, &point);
    return point;
}

std::set<std::string> PropertyNames(HWND window) {
    std::set<std::string> names;
    EnumPropsExA(window, CollectName, reinterpret_cast<LPARAM>(&names));
    return names;
}

int GdiHighWater() {
    constexpr int kProbeCount = 6000;
    std::vector<HRGN> probes;
    probes.reserve(kProbeCount);
    int highest = 0;
    for (int i = 0; i < kProbeCount; ++i) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        probes.push_back(region);
        highest = std::max(highest, static_cast<int>(reinterpret_cast<ULONG_PTR>(region) & 0xFFFF));
    }
    for (HRGN region : probes) {
        DeleteObject(region);
    }
    return highest;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

COLORREF ClientPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace quenlo::skin
