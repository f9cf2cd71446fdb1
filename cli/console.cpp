#include "cli/console.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "platform/ansi_text.h"
#else
#include <unistd.h>
#endif

namespace quenlo {
namespace {

std::atomic<bool> stopSignalled{false};

#ifdef _WIN32
HANDLE StreamHandle(Stream stream) {
    return GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        stopSignalled = true;
        return TRUE;
    }
    return FALSE;
}
#else
void OnInterrupt(int) {
    stopSignalled = true;
}
#endif

}  // namespace

std::vector<std::string> CommandArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) {
            arguments.push_back(Utf8FromWide(wide[i]));
        }
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

bool IsTerminal(Stream stream) {
#ifdef _WIN32
    DWORD mode = 0;
    return GetConsoleMode(StreamHandle(stream), &mode) != 0;
#else
    return ::isatty(stream == Stream::Out ? 1 : 2) != 0;
#endif
}

void WriteText(Stream stream, std::string_view utf8) {
#ifdef _WIN32
    // A console shows wide text whatever its code page; files and pipes get UTF-8.
    HANDLE handle = StreamHandle(stream);
    if (IsTerminal(stream)) {
        const int length = static_cast<int>(utf8.size());
        const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    DWORD written = 0;
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
#else
    std::FILE* file = stream == Stream::Out ? stdout : stderr;
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fflush(file);
#endif
}

void InstallStopHandler() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
#endif
}

bool StopSignalled() {
    return stopSignalled;
}

}  // namespace quenlo
