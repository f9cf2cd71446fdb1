// The conversion job's view of the main window: Text4, Text7, Label7, Command2,
// Timer1 and the stop flag, plus the clock and the files of the platform.
#pragma once

#include "conversion/conversion_host.h"
#include "platform/win32_file_system.h"

namespace quenlo {

class MainWindow;
struct WindowServices;

class WindowHost final : public ConversionHost {
public:
    WindowHost(MainWindow& window, const WindowServices& services)
        : window_(window), services_(services) {}

    std::string InputPathText() override;
    std::string LinesPerFileText() override;
    bool StopRequested() override;
    void SetTimerEnabled(bool enabled) override;
    std::string TotalCaption() override;
    void SetTotalCaption(std::string_view caption) override;
    void SetStartCaption(std::string_view caption) override;
    void ShowMessage(std::string_view text, std::string_view title, MessageKind kind) override;
    void ProcessPendingMessages() override;
    void KeepLiveWhileStopping() override { ProcessPendingMessages(); }
    void Progress(std::uint64_t bytesRead, std::uint64_t inputLength) override;
    CalendarDate Today() override;
    std::filesystem::path ResultsFolder() override;
    FileSystem& Files() override;
    void SetRunningConversion(RunningConversion* run) override { run_ = run; }

    // While a run goes on: its files end at the last whole line and are closed now,
    // from within its pump.
    void CloseRunOutputNow() {
        if (run_) {
            run_->CloseOutputNow();
        }
    }

private:
    MainWindow& window_;
    const WindowServices& services_;
    Win32FileSystem files_;
    RunningConversion* run_ = nullptr;
};

}  // namespace quenlo
