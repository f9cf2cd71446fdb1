#include "main_window/window_host.h"

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "main_window/input_path.h"
#include "main_window/main_window.h"
#include "platform/program_folder.h"

namespace quenlo {

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
    services_.messageBox(window_.Handle(), text, title, MB_OK | icon);
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
