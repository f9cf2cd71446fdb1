// The window's event handlers: import, start and stop, the seconds tick, keeping the
// line count right-aligned, the publisher link and dropped files.
#include <windows.h>
#include <cderr.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "controls/frame.h"
#include "conversion/leading_number.h"
#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "file_dialog/file_dialog.h"
#include "main_window/input_path.h"
#include "main_window/main_window.h"
#include "platform/ansi_path.h"
#include "platform/ansi_text.h"
#include "platform/system_path.h"

namespace quenlo {
namespace {

constexpr char kImportFirstText[] = "请先导入文件！";
constexpr char kAppTitle[] = "Quenlo";
constexpr char kTextFilter[] = "文本文件(*.TXT)|*.txt";

constexpr char kFolderNotFile[] = "这是一个文件夹，不是文件。";
constexpr char kCannotChooseFile[] = "无法选择文件：";
// Before Windows 10 1903 text boxes hold the system's code page; a name outside it
// keeps only to its short form, which some volumes do not have.
constexpr char kCannotImportFile[] = "无法导入文件";
constexpr char kNameOutsideCodePage[] =
    "文件名中有本系统的代码页无法表示的字符（显示为问号），而文件所在的磁盘没有可代替的"
    "短文件名（8.3 格式）。请将文件或其所在文件夹改用本系统语言的字符命名后再导入。";

// Why the file dialog gave no file, in words the user can act on.
std::string DialogFailureText(DWORD failure) {
    std::string text = kCannotChooseFile;
    switch (failure) {
        case FNERR_BUFFERTOOSMALL:
            return text + "所选文件的路径太长，文件对话框容纳不下（最多 " +
                   std::to_string(cFileDialog::kFileBufferLength - 1) +
                   " 字节）。可将路径直接粘贴到导入框，或把文件移到路径较短的文件夹。";
        case FNERR_INVALIDFILENAME:
            return text + "文件名无效。";
        case CDERR_MEMALLOCFAILURE:
        case CDERR_MEMLOCKFAILURE:
            return text + "内存不足，文件对话框无法打开。";
        default: {
            char code[16];
            std::snprintf(code, sizeof code, "0x%04lX", static_cast<unsigned long>(failure));
            return text + "文件对话框无法打开（错误代码 " + code + "）。";
        }
    }
}

// Spaces alone name no file.
bool NamesNoFile(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The input path as the run will open it, when it names a folder: the system would
// only say "access denied" for it.
std::optional<std::string> FolderGivenAsInput(std::string_view text) {
    std::string_view path = UnquotedPath(text);
    path.remove_prefix(std::min(path.find_first_not_of(' '), path.size()));
    path.remove_suffix(path.size() - (path.find_last_not_of(' ') + 1));
    try {
        const DWORD attributes = GetFileAttributesW(SystemPath(PathFromUtf8(path)).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::string(path);
        }
    } catch (const std::exception&) {
        // Not a path at all: the run says so.
    }
    return std::nullopt;
}

RECT PlaceInParent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

}  // namespace

void MainWindow::OnCommand1Click() {
    std::string chosen;
    {
        cFileDialog dialog;
        if (services_.openDialog) {
            dialog.SetDialogCalls(services_.openDialog, nullptr, services_.dialogError);
        }
        dialog.SetFilter(kTextFilter);
        dialog.SetFlags(OFN_FILEMUSTEXIST);
        dialog.SetHWnd(window_);
        dialog.SetCancelError(true);
        dialog.ShowOpen();
        if (dialog.Failure() != 0) {
            ShowBox(DialogFailureText(dialog.Failure()), kErrorTitle, MB_OK | MB_ICONERROR);
            return;  // the path chosen before stays
        }
        chosen = dialog.Filename();
    }
    if (chosen.empty()) {
        return;  // cancelled: the path chosen before stays
    }
    SetText(ControlId::Text4, chosen);
}

void MainWindow::OnCommand2Click() {
    const bool idle = Text(ControlId::Command2) == kStartCaption;
    // A running job can always be stopped, even if Text4 was emptied meanwhile.
    if (idle || !running_) {
        if (NamesNoFile(Text(ControlId::Text4))) {
            ShowBox(kImportFirstText, kAppTitle, MB_OK);
            return;
        }
    }
    if (idle) {
        if (running_) {
            return;  // a stopped run has not returned yet: one run at a time
        }
        if (const auto folder = FolderGivenAsInput(Text(ControlId::Text4))) {
            ShowBox(std::string(kCannotOpenInput) + "「" + *folder + "」：" + kFolderNotFile,
                    kErrorTitle, MB_OK | MB_ICONERROR);
            return;
        }
        StartRun();
        return;
    }
    StopRun();
}

void MainWindow::OnTimer1Tick() {
    const double seconds = LeadingNumber(Text(ControlId::Label6)) + 1;
    SetText(ControlId::Label6, FormatWholeNumber(seconds).append(kSecondsSuffix));
}

void MainWindow::OnLabel7Change() {
    const HWND label = Control(ControlId::Label7);
    RECT frame{};
    GetClientRect(Control(ControlId::iFrame5), &frame);
    const RECT place = PlaceInParent(label);
    const int left =
        frame.right - (place.right - place.left) - TwipsToPixels(kLabel7RightMarginTwips, dpi_);
    SetWindowPos(label, nullptr, left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnLabel9Click() {
    // By its full path: a bare "Explorer.exe" is looked for beside Quenlo.exe first,
    // and whatever program lay there under that name would be started.
    services_.startProcess(WindowsFolderProgram("explorer.exe"),
                           std::string("Explorer.exe ") + kPublisherAddress);
}

// Enter reaches the window as IDOK from the dialog manager, which looks for a default
// button first; the window has none (its buttons are owner-drawn under the skin), so
// the focused command button takes the press, as it does from Space.
void MainWindow::OnEnterKey() {
    const HWND focus = GetFocus();
    const ControlId id = ControlFromCommandId(GetDlgCtrlID(focus));
    if (id != ControlId::Window && Control(id) == focus &&
        LayoutOf(id).kind == ControlKind::Button && IsWindowEnabled(focus)) {
        OnCommand(CommandIdOf(id), BN_CLICKED);
    }
}

// A file dropped from Explorer counts as chosen with the import button. Its name is
// taken in UTF-16, as from the command line: the ANSI one has lost what the code page
// lacks.
void MainWindow::OnDropFiles(HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring file(length + 1, L'\0');
    const bool taken = length > 0 && DragQueryFileW(drop, 0, file.data(), length + 1) == length;
    DragFinish(drop);
    if (taken) {
        file.resize(length);
        ImportHandedFile(file);
    }
}

void MainWindow::ImportHandedFile(std::wstring_view file) {
    if (file.empty()) {
        return;
    }
    if (const std::optional<std::string> text = PathForAnsiText(file)) {
        SetText(ControlId::Text4, *text);
        return;
    }
    ShowBox(
        std::string(kCannotImportFile) + "「" + Utf8FromWide(file) + "」：" + kNameOutsideCodePage,
        kErrorTitle, MB_OK | MB_ICONERROR);
}

bool MainWindow::OnClose() {
    if (!running_) {
        return true;
    }
    // Stop the run first; its handler closes the window once it has returned.
    bStopRequested = true;
    closeAfterRun_ = true;
    return false;
}

}  // namespace quenlo
