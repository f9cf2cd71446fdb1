#include "cli/console.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "cli/session_window.h"
#include "platform/ansi_text.h"
#include "platform/win32_file_system.h"
#else
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace quenlo {
namespace {

std::atomic<bool> stopSignalled{false};
std::atomic<int> stopSignal{0};

#ifdef _WIN32
constexpr int kSignalInterrupt = 2;  // SIGINT
constexpr int kSignalHangUp = 1;     // SIGHUP, for a console that goes away

// Set once the run is over; a closing console waits for it.
HANDLE runEnded = nullptr;

HANDLE StreamHandle(Stream stream) {
    return GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// The console or the session goes away.
void HangUp() {
    stopSignal = kSignalHangUp;
    stopSignalled = true;
}

BOOL WINAPI OnConsoleControl(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            stopSignal = kSignalInterrupt;
            stopSignalled = true;
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The process ends when this returns: first let the run stop and close
            // its files, within the few seconds the system grants. (Sign-out and
            // shutdown come here only to a program without user32; this one hears
            // them through its session window.)
            HangUp();
            if (runEnded) {
                WaitForSingleObject(runEnded, 4000);
            }
            return TRUE;
        default:
            return FALSE;
    }
}
#else
void OnStopSignal(int signal) {
    stopSignal = signal;
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

std::optional<std::string> WriteText(Stream stream, std::string_view utf8) {
#ifdef _WIN32
    // A console shows wide text whatever its code page; files and pipes get UTF-8.
    HANDLE handle = StreamHandle(stream);
    DWORD written = 0;
    BOOL done = FALSE;
    if (IsTerminal(stream)) {
        const int length = static_cast<int>(utf8.size());
        const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
        done =
            WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        done = WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) &&
               written == utf8.size();
    }
    if (!done) {
        return SystemErrorText(GetLastError());
    }
#else
    std::FILE* file = stream == Stream::Out ? stdout : stderr;
    if (std::fwrite(utf8.data(), 1, utf8.size(), file) != utf8.size() || std::fflush(file) != 0) {
        const int error = errno;
        std::clearerr(file);
        return std::strerror(error);
    }
#endif
    return std::nullopt;
}

void InstallStopHandler([[maybe_unused]] std::string_view savingText) {
#ifdef _WIN32
    runEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    if (runEnded) {
        WatchSessionEnd(HangUp, runEnded, WideFromUtf8(savingText));
    }
#else
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
#endif
}

bool StopSignalled() {
    return stopSignalled;
}

int StoppedExitStatus() {
    return 128 + stopSignal;
}

void RunEnded() {
#ifdef _WIN32
    if (runEnded) {
        SetEvent(runEnded);
    }
#endif
}

}  // namespace quenlo
