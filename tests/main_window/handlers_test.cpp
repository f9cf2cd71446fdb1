#include <cderr.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "main_window/program.h"
#include "main_window/taskbar_button.h"
#include "platform/ansi_text.h"
#include "platform/win32_file_system.h"
#include "tests/main_window/window_fixture.h"

namespace quenlo {
namespace {

using namespace std::string_literals;

TEST_F(MainWindowTest, StartWithoutAPathAsksForAFileAndStaysIdle) {
    Open();
    for (const char* path : {"", "   "}) {  // spaces alone name no file either
        SCOPED_TRACE(testing::Message() << '"' << path << '"');
        boxes_.clear();
        Window().SetText(ControlId::Text4, path);
        Click(ControlId::Command2);
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text, "请先导入文件！");
        EXPECT_EQ(boxes_[0].title, "Quenlo");
        EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
        EXPECT_FALSE(Window().Timer1Enabled());
        EXPECT_FALSE(std::filesystem::exists(results_));
    }
}

// The real message box, answered from a timer as a user would.
struct BoxReader {
    static inline std::string texts;
    static inline bool answered = false;

    static BOOL CALLBACK CollectText(HWND child, LPARAM) {
        char text[256] = {};
        GetWindowTextA(child, text, sizeof text);
        texts += text;
        texts += '|';
        return TRUE;
    }
    static BOOL CALLBACK FindBox(HWND window, LPARAM) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (!IsWindowVisible(window) || std::string(name) != "#32770") {
            return TRUE;
        }
        char title[64] = {};
        GetWindowTextA(window, title, sizeof title);
        texts = std::string(title) + '|';
        EnumChildWindows(window, CollectText, 0);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        answered = true;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
        if (answered) {
            KillTimer(nullptr, timer);
        }
    }
};

TEST_F(MainWindowTest, TheRealMessageBoxShowsTheImportRequest) {
    services_.messageBox = nullptr;  // the platform's own box
    Open();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, BoxReader::Tick);
    Click(ControlId::Command2);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(BoxReader::answered);
    EXPECT_EQ(BoxReader::texts.rfind("Quenlo|", 0), 0u) << BoxReader::texts;
    EXPECT_NE(BoxReader::texts.find("请先导入文件！"), std::string::npos) << BoxReader::texts;
}

TEST_F(MainWindowTest, OrderFieldTakesDigitsSpaceAndBackspaceOnly) {
    Open();
    const HWND text3 = Control(ControlId::Text3);
    for (char key : "a5.-7 Z9"s) {
        SendMessageA(text3, WM_CHAR, static_cast<WPARAM>(key), 1);
    }
    EXPECT_EQ(Text(ControlId::Text3), "57 9");
    SendMessageA(text3, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(Text(ControlId::Text3), "57 ");
    SendMessageA(text3, WM_CHAR, 0x16, 1);  // Ctrl+V: no letters by the back door
    EXPECT_EQ(Text(ControlId::Text3), "57 ");
    // Other fields are not filtered.
    SendMessageA(Control(ControlId::Text5), WM_CHAR, 'a', 1);
    EXPECT_EQ(Text(ControlId::Text5), "a");
}

TEST_F(MainWindowTest, ImportAsksForAnExistingTextFileAndKeepsThePathWhenCancelled) {
    OPENFILENAMEA seen{};
    std::string filter;
    BOOL answer = FALSE;
    services_.openDialog = [&](OPENFILENAMEA& record) {
        seen = record;
        filter.assign(record.lpstrFilter, 27);
        if (answer) {
            std::strcpy(record.lpstrFile, "C:\\数据\\new.txt");
        }
        return answer;
    };
    Open();
    Window().SetText(ControlId::Text4, "C:\\old.txt");

    Click(ControlId::Command1);
    EXPECT_EQ(Text(ControlId::Text4), "C:\\old.txt");
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_EQ(seen.hwndOwner, window_);
    EXPECT_EQ(seen.lpstrTitle, nullptr);
    EXPECT_EQ(seen.lpstrInitialDir, nullptr);
    EXPECT_EQ(filter, "文本文件(*.TXT)\0*.txt\0\0"s);
    EXPECT_TRUE(boxes_.empty());

    answer = TRUE;
    Click(ControlId::Command1);
    EXPECT_EQ(Text(ControlId::Text4), "C:\\数据\\new.txt");
}

TEST_F(MainWindowTest, ImportThatFailsSaysWhyAndKeepsThePath) {
    const std::string why = "无法选择文件：", memory = why + "内存不足，文件对话框无法打开。";
    const std::pair<DWORD, std::string> rows[] = {
        {FNERR_BUFFERTOOSMALL, why + "所选文件的路径太长，文件对话框容纳不下（最多 1023 字节）。"
                                     "可将路径直接粘贴到导入框，或把文件移到路径较短的文件夹。"},
        {FNERR_INVALIDFILENAME, why + "文件名无效。"},
        {CDERR_MEMALLOCFAILURE, memory},
        {CDERR_MEMLOCKFAILURE, memory},
        {CDERR_DIALOGFAILURE, why + "文件对话框无法打开（错误代码 0xFFFF）。"},
        {CDERR_INITIALIZATION, why + "文件对话框无法打开（错误代码 0x0002）。"},
    };
    DWORD failure = 0;
    services_.dialogError = [&] { return failure; };
    Open();
    Window().SetText(ControlId::Text4, "C:\\old.txt");
    for (const auto& [code, text] : rows) {
        failure = code;
        boxes_.clear();
        Click(ControlId::Command1);
        EXPECT_EQ(Text(ControlId::Text4), "C:\\old.txt");
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].title, kErrorTitle);
        EXPECT_EQ(boxes_[0].text, text);
        EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
}

// As a person presses Enter: on the keyboard, through the program's own loop.
TEST_F(MainWindowTest, EnterOnAFocusedCommandButtonPressesIt) {
    int dialogs = 0;
    services_.openDialog = [&](OPENFILENAMEA&) {
        ++dialogs;
        return FALSE;
    };
    Open(SW_SHOW);  // keys go to the foreground window
    SetForegroundWindow(window_);
    Window().SetText(ControlId::Text4, WriteInput("enter.txt", 5));

    // In a text box Enter presses nothing; the digit typed after it shows it was seen.
    SetFocus(Control(ControlId::Text7));
    PressKey(VK_RETURN);
    PressKey('9');
    ASSERT_TRUE(PumpUntil([&] { return Text(ControlId::Text7).find('9') != std::string::npos; }));
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(boxes_.empty());

    SetFocus(Control(ControlId::Command1));
    PressKey(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return dialogs == 1; }));

    SetFocus(Control(ControlId::Command2));
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !boxes_.empty(); }));
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_EQ(OutputLineCount(), 5);
    EXPECT_EQ(dialogs, 1);
}

// Explorer's "Copy as path" puts the path in double quotes.
TEST_F(MainWindowTest, PathPastedInQuotesIsUsedWithoutThem) {
    Open();
    const std::string path = WriteInput("复制的 路径.txt", 4);
    const std::wstring quoted = L"\"" + PathFromUtf8(path).wstring() + L"\"";
    ASSERT_TRUE(OpenClipboard(window_));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (quoted.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), quoted.c_str(), (quoted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageA(Control(ControlId::Text4), WM_PASTE, 0, 0);
    ASSERT_EQ(Text(ControlId::Text4), '"' + path + '"');

    Click(ControlId::Command2);

    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_EQ(OutputLineCount(), 4);
}

// The system refuses the window, as it does when a session's window resources run out.
LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    char name[16] = {};
    if (code == HCBT_CREATEWND &&
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) &&
        std::string_view(name) == MainWindow::kClassName) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindowTest, ProgramWithoutItsWindowSaysWhyInsteadOfEndingSilently) {
    const HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    const int status = RunQuenlo(services_, SW_HIDE);
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(status, 1);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text,
              "无法创建 Quenlo 的窗口：" + SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(boxes_[0].title, "Quenlo");
    EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST_F(MainWindowTest, TimerTickAddsASecondToWhatTheLabelShows) {
    Open();
    SendMessageA(window_, WM_TIMER, MainWindow::kTimer1Id, 0);
    EXPECT_EQ(Text(ControlId::Label6), "1 秒");
    Window().SetText(ControlId::Label6, " 41 秒");
    SendMessageA(window_, WM_TIMER, MainWindow::kTimer1Id, 0);
    EXPECT_EQ(Text(ControlId::Label6), "42 秒");
}

TEST_F(MainWindowTest, FileDroppedFromExplorerFillsThePath) {
    Open();
    const std::string path = "C:\\拖放\\input.txt";
    const SIZE_T size = sizeof(DROPFILES) + path.size() + 2;
    const HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size());
    GlobalUnlock(memory);

    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(Text(ControlId::Text4), path);
}

// Run as administrator, Explorer's messages pass the system's filter only where the
// window lets them, before it is shown (the taskbar button comes as it appears).
TEST_F(MainWindowTest, WindowLetsExplorersMessagesThroughBeforeItIsSeen) {
    using Call = std::tuple<HWND, UINT, DWORD, bool>;  // the last: shown, or a record passed
    std::vector<Call> calls, wanted;
    services_.changeMessageFilter = [&](HWND window, UINT message, DWORD action,
                                        PCHANGEFILTERSTRUCT record) {
        calls.emplace_back(window, message, action, IsWindowVisible(window) || record);
        return TRUE;
    };
    Open(SW_SHOW);
    for (UINT message : {TaskbarButtonCreatedMessage(), UINT{WM_DROPFILES}, UINT{0x0049}}) {
        wanted.emplace_back(window_, message, MSGFLT_ALLOW, false);
    }
    std::sort(calls.begin(), calls.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(calls, wanted);
}

// "Open with", a file dropped on the program's icon, or a path typed after its name.
TEST_F(MainWindowTest, FileOnTheCommandLineIsInTheImportBoxAsIfPicked) {
    const std::wstring spaced = PathFromUtf8(WriteInput("客户 名单.txt", 4)).wstring();
    const std::wstring missing = (work_ / "missing.txt").wstring();  // the start will say so
    const std::wstring program = L"\"C:\\Program Files\\Quenlo\\Quenlo.exe\" ";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {program + L"\"" + spaced + L"\"", spaced},
        {program + L"\"" + spaced + L"\" " + missing, spaced},  // several files: the first
        {L"Quenlo.exe " + missing, missing},
        {L"Quenlo.exe \"客户 名单.txt\"", spaced},  // typed in the input's folder
        {program, L""},
        {L"", L""},
    };
    const std::filesystem::path startedIn = std::filesystem::current_path();
    std::filesystem::current_path(work_);
    for (const auto& [commandLine, text4] : cases) {
        SCOPED_TRACE(Utf8FromWide(commandLine));
        services_.commandLine = commandLine;
        Open();
        EXPECT_EQ(Text(ControlId::Text4), Utf8FromWide(text4));
        DestroyWindow(window_);
    }
    std::filesystem::current_path(startedIn);
}

}  // namespace
}  // namespace quenlo
