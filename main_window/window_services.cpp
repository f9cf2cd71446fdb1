#include "main_window/window_services.h"

#include <string>

#include "platform/ansi_text.h"

namespace quenlo {
namespace {

int PlatformMessageBox(HWND owner, std::string_view text, std::string_view title, UINT type) {
    return MessageBoxA(owner, Utf8ToAnsi(text).c_str(), Utf8ToAnsi(title).c_str(), type);
}

// A failure to start is ignored: there is nobody to tell but the user, who sees
// that nothing opened.
void StartMaximised(std::string_view program, std::string_view commandLine) {
    if (program.empty()) {
        return;  // without a path the system would search, the program's folder first
    }
    const std::string application = Utf8ToAnsi(program);
    std::string line = Utf8ToAnsi(commandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

CalendarDate LocalToday() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace

// HCF_AVAILABLE is set on every ordinary system; only HCF_HIGHCONTRASTON says it is on.
bool HighContrastOn(SystemParametersCall query) {
    HIGHCONTRASTA setting{};
    setting.cbSize = sizeof setting;
    return query(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

namespace {

// The shutdown screen names the window with the reason; only the window's own thread
// may set or take it back.
void SystemShutdownReason(HWND window, const wchar_t* reason) {
    if (reason) {
        ShutdownBlockReasonCreate(window, reason);
    } else {
        ShutdownBlockReasonDestroy(window);
    }
}

}  // namespace

std::string WindowsFolderProgram(std::string_view name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return Utf8FromWide(std::wstring(folder, length) + L'\\') + std::string(name);
}

WindowServices WithPlatformDefaults(WindowServices services) {
    if (!services.messageBox) {
        services.messageBox = PlatformMessageBox;
    }
    if (!services.startProcess) {
        services.startProcess = StartMaximised;
    }
    if (!services.today) {
        services.today = LocalToday;
    }
    if (!services.taskbar) {
        services.taskbar = MakeShellTaskbarButton();
    }
    if (!services.highContrast) {
        services.highContrast = [] { return HighContrastOn(SystemParametersInfoA); };
    }
    if (!services.changeMessageFilter) {
        services.changeMessageFilter = ChangeWindowMessageFilterEx;
    }
    if (!services.shutdownReason) {
        services.shutdownReason = SystemShutdownReason;
    }
    return services;
}

}  // namespace quenlo
