// Opens the platform's real open dialog and cancels it from a timer, as a user would.
#include <gtest/gtest.h>

#include "file_dialog/file_dialog.h"

namespace quenlo {
namespace {

HWND g_foundDialog = nullptr;
int g_ticks = 0;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && std::string_view(className) == "#32770") {
        g_foundDialog = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the dialog's own modal loop.
void CALLBACK CancelWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
    if (++g_ticks > 300) {  // about a minute: give up rather than hang
        KillTimer(nullptr, timer);
        return;
    }
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
    if (g_foundDialog) {
        KillTimer(nullptr, timer);
        PostMessageA(g_foundDialog, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST(RealFileDialog, CancellingTheOpenDialogKeepsTheFilename) {
    cFileDialog dialog;
    dialog.SetFilter("文本文件(*.TXT)|*.txt");
    dialog.SetFlags(OFN_FILEMUSTEXIST);
    dialog.SetCancelError(true);
    dialog.SetFilename("C:\\before.txt");
    SetTimer(nullptr, 0, 200, CancelWhenShown);

    dialog.ShowOpen();

    EXPECT_NE(g_foundDialog, nullptr) << "the dialog never appeared";
    EXPECT_EQ(dialog.Filename(), "C:\\before.txt");
    EXPECT_EQ(dialog.LastError().number, cFileDialog::kCancelErrorNumber);
}

}  // namespace
}  // namespace quenlo
