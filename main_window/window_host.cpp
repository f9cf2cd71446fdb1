#include "main_window/window_host.h"

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "main_window/input_path.h"
#include "main_window/main_window.h"
#include "platform/program_folder.h"

namespace quenlo {
namespace {

// The results go beside the program, so a program put where the user may not write
// (Program Files) cannot make or fill them: say where they go and what helps.
constexpr std::string_view kResultsFolderIs = "结果保存在 Quenlo 旁边的文件夹「";
constexpr std::string_view kMoveQuenlo =
    "」中。如果这里不能写入（例如在 Program Files 之下），请把 Quenlo 移到您可以写入的文件夹，"
    "例如桌面、“文档”或 U 盘，再运行它。";

bool ConcernsResultsFolder(std::string_view text) {
    return text.starts_with(kCannotCreateFolder) || text.starts_with(kCannotWriteOutput);
}

}  // namespace

std::string WindowHost::InputPathText() {
    return std::string(UnquotedPath(window_.Text(ControlId::Text4)));
}

std::string WindowHost::LinesPerFileText() {
    return window_.Text(ControlId::Text7);
}

bool WindowHost::StopRequested() {
    return window_.StopRequested();
}

void WindowHost::SetTimerEnabled(bool enabled) {
    window_.SetTimer1Enabled(enabled);
}

std::string WindowHost::TotalCaption() {
    return window_.Text(ControlId::Label7);
}

void WindowHost::SetTotalCaption(std::string_view caption) {
    window_.SetText(ControlId::Label7, caption);
}

void WindowHost::SetStartCaption(std::string_view caption) {
    window_.SetText(ControlId::Command2, caption);
}

void WindowHost::ShowMessage(std::string_view text, std::string_view title, MessageKind kind) {
    const UINT icon = kind == MessageKind::Error ? MB_ICONERROR : MB_ICONINFORMATION;
    window_.ShowRunEnd(kind == MessageKind::Error);
    std::string shown(text);
    if (kind == MessageKind::Error && ConcernsResultsFolder(text)) {
        shown.append("\n\n").append(kResultsFolderIs);
        shown.append(Utf8FromPath(ResultsFolder())).append(kMoveQuenlo);
    }
    services_.messageBox(window_.Handle(), shown, title, MB_OK | icon);
}

void WindowHost::ProcessPendingMessages() {
    window_.PumpMessages();
}

void WindowHost::Progress(std::uint64_t bytesRead, std::uint64_t inputLength) {
    window_.ShowRunProgress(bytesRead, inputLength);
}

CalendarDate WindowHost::Today() {
    return services_.today();
}

std::filesystem::path WindowHost::ResultsFolder() {
    if (!services_.resultsFolder.empty()) {
        return services_.resultsFolder;
    }
    return ProgramFolder() / PathFromUtf8(kResultsFolderName);
}

FileSystem& WindowHost::Files() {
    return services_.files ? *services_.files : files_;
}

}  // namespace quenlo
