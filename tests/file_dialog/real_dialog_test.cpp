// The platform's real open dialog, answered from a timer as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "file_dialog/file_dialog.h"

namespace quenlo {
namespace {

// Runs inside the dialog's own modal loop: finds the dialog once it shows and does
// what the test asks of it.
struct DialogDriver {
    static inline void (*act)(HWND dialog) = nullptr;
    static inline HWND found = nullptr;
    static inline int ticks = 0;

    static BOOL CALLBACK Find(HWND window, LPARAM) {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (IsWindowVisible(window) && std::string_view(className) == "#32770") {
            found = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        if (++ticks > 300) {  // about a minute: give up rather than hang
            KillTimer(nullptr, timer);
            return;
        }
        EnumThreadWindows(GetCurrentThreadId(), Find, 0);
        if (found) {
            KillTimer(nullptr, timer);
            act(found);
        }
    }
    static void Start(void (*action)(HWND dialog)) {
        act = action;
        found = nullptr;
        ticks = 0;
        SetTimer(nullptr, 0, 200, Tick);
    }
};

TEST(RealFileDialog, CancellingTheOpenDialogKeepsTheFilename) {
    cFileDialog dialog;
    dialog.SetFilter("文本文件(*.TXT)|*.txt");
    dialog.SetFlags(OFN_FILEMUSTEXIST);
    dialog.SetCancelError(true);
    dialog.SetFilename("C:\\before.txt");
    DialogDriver::Start([](HWND found) { PostMessageA(found, WM_COMMAND, IDCANCEL, 0); });

    dialog.ShowOpen();

    EXPECT_NE(DialogDriver::found, nullptr) << "the dialog never appeared";
    EXPECT_EQ(dialog.Filename(), "C:\\before.txt");
    EXPECT_EQ(dialog.LastError().number, cFileDialog::kCancelErrorNumber);
}

// One file picked in multi-select mode: behind it the buffer still holds the tail of
// the longer name the dialog started with.
std::string g_picked;

TEST(RealFileDialog, OnePickAfterALongerStartNameIsParsedAsThatFile) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qpick";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "b.txt") << "x\r\n";
    const std::string folderText = folder.string();
    g_picked = folderText + "\\b.txt";

    cFileDialog dialog;
    dialog.SetFlags(OFN_ALLOWMULTISELECT);
    dialog.SetFilename("C:\\a_previous_rather_long_start_name\\with\\several\\sub\\folders\\" +
                       std::string(40, 'x') + ".txt");
    DialogDriver::Start([](HWND found) {
        // Typed into the file name box, then Open.
        HWND name = GetDlgItem(found, cmb13);
        SetWindowTextA(name ? name : GetDlgItem(found, edt1), g_picked.c_str());
        PostMessageA(found, WM_COMMAND, IDOK, 0);
    });

    dialog.ShowOpen();

    ASSERT_NE(DialogDriver::found, nullptr) << "the dialog never appeared";
    ASSERT_EQ(dialog.Filename().substr(0, g_picked.size() + 2), g_picked + std::string(2, '\0'));
    std::string dir;
    std::vector<std::string> files;
    std::int32_t count = 0;
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, folderText + "\\");
    EXPECT_EQ(files, std::vector<std::string>{"b.txt"});
    EXPECT_EQ(count, 1);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quenlo
