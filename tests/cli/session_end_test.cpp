// quenlo-split.exe as Windows ends the session during a run: its input keeps it
// waiting in the middle of a line when the system's two messages reach its window.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/session_window.h"
#include "conversion/output_naming.h"

namespace quenlo {
namespace {

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// No other handle: the program has closed it.
bool OpensAlone(const std::filesystem::path& file) {
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

// The window of that process among those the system's broadcast reaches: the
// top-level windows.
HWND SessionWindowOf(DWORD process) {
    struct Search {
        DWORD process;
        HWND found;
    } search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(lParam);
            char name[64] = {};
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            GetClassNameA(window, name, sizeof name);
            if (owner == search.process && std::string(name) == kSessionWindowClass) {
                search.found = window;
            }
            return search.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(SplitSessionTest, SessionEndStopsAtAWholeLineAndClosesTheFilesBeforeTheAnswer) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path tree = std::filesystem::path(self).parent_path() / "../..";
    const std::filesystem::path program = tree / "cli" / "quenlo-split.exe";
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "quenlo_session";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::filesystem::path first =
        work / PathFromUtf8(OutputFileName(1, {now.wYear, now.wMonth, now.wDay}));

    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE input = nullptr;
    HANDLE feed = nullptr;
    ASSERT_TRUE(CreatePipe(&input, &feed, &inherited, 0));
    SetHandleInformation(feed, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = startup.hStdError =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    std::wstring line = L"\"" + program.wstring() + L"\" --out \"" + work.wstring() + L"\" -";
    struct Child : PROCESS_INFORMATION {
        HANDLE feed = nullptr;
        ~Child() {
            TerminateProcess(hProcess, 1);  // only if the test failed before it ended
            CloseHandle(feed);
            CloseHandle(hThread);
            CloseHandle(hProcess);
        }
    } process{};
    process.feed = feed;
    ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               work.c_str(), &startup, &process))
        << program;
    CloseHandle(input);
    CloseHandle(startup.hStdOutput);
    DWORD written = 0;
    WriteFile(feed, "a\r\nb\r\nc", 7, &written, nullptr);  // and then nothing

    for (int i = 0; i < 400 && ReadAll(first) != "a\r\nb\r\n"; ++i) {
        Sleep(50);  // until the whole lines are in their file (at most 20 s)
    }
    ASSERT_EQ(ReadAll(first), "a\r\nb\r\n");
    const HWND window = SessionWindowOf(process.dwProcessId);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(OpensAlone(first));
    EXPECT_EQ(ReadAll(first), "a\r\nb\r\n");

    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    EXPECT_EQ(status, 129u);  // as after a hang-up, while the input still waits
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
}

}  // namespace
}  // namespace quenlo
