// quenlo-split.exe as Windows asks whether the session may end, then cancels the end,
// then ends it, while its input keeps it waiting in the middle of a line: the
// system's messages reach its window from this process.
#include <windows.h>

#include <gtest/gtest.h>

#include "cli/session_window.h"
#include "conversion/output_naming.h"
#include "tests/conversion/test_support.h"

namespace quenlo::test {
namespace {

BOOL CALLBACK MatchSessionWindow(HWND window, LPARAM found) {
    auto& [process, match] = *reinterpret_cast<std::pair<DWORD, HWND>*>(found);
    DWORD owner = 0;
    char name[64] = {};
    GetWindowThreadProcessId(window, &owner);
    GetClassNameA(window, name, sizeof name);
    match = owner == process && std::string(name) == kSessionWindowClass ? window : match;
    return match == nullptr;
}

// The process's window among those the system's broadcast reaches: the top-level ones.
HWND SessionWindowOf(DWORD process) {
    std::pair<DWORD, HWND> search{process, nullptr};
    EnumWindows(MatchSessionWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

TEST(SplitSessionTest, OnlyTheSessionsEndStopsTheRunAndItsFilesAreClosedBeforeTheAnswer) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto program = std::filesystem::path(self).parent_path() / "../../cli/quenlo-split.exe";
    ScratchFolder scratch;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const auto first = scratch.path() / U8(OutputFileName(1, {now.wYear, now.wMonth, now.wDay}));

    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE input = nullptr;
    HANDLE feed = nullptr;  // closed with this process: a child left behind reads its end
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreatePipe(&input, &feed, &inherited, 0));
    SetHandleInformation(feed, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    std::wstring line = L"quenlo-split --out \"" + scratch.path().wstring() + L"\" -";
    ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &child));
    CloseHandle(input);
    DWORD written = 0;
    const auto held = [&](const std::string& lines) {
        for (int i = 0; i < 400 && !(std::filesystem::exists(first) && ReadFile(first) == lines);
             ++i) {
            Sleep(50);  // until the whole lines are in their file (at most 20 s)
        }
        return std::filesystem::exists(first) ? ReadFile(first) : "";
    };
    ::WriteFile(feed, "a\r\nb\r\nc", 7, &written, nullptr);  // and then nothing
    ASSERT_EQ(held("a\r\nb\r\n"), "a\r\nb\r\n");

    const HWND window = SessionWindowOf(child.dwProcessId);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageA(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);  // another program said no
    ::WriteFile(feed, "\r\nd\r\ne", 7, &written, nullptr);
    EXPECT_EQ(held("a\r\nb\r\nc\r\nd\r\n"), "a\r\nb\r\nc\r\nd\r\n") << "the run went on";

    SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);  // no question this time
    const HANDLE alone =
        CreateFileW(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(alone, INVALID_HANDLE_VALUE) << "still open when the answer came";
    CloseHandle(alone);
    EXPECT_EQ(ReadFile(first), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 20000), WAIT_OBJECT_0);
    DWORD status = 0;
    GetExitCodeProcess(child.hProcess, &status);
    EXPECT_EQ(status, 129u);  // as after a hang-up, while the input still waits
    CloseHandle(feed);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

}  // namespace
}  // namespace quenlo::test
