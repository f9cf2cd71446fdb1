// The job's host in a console: the arguments stand for the window's fields, Ctrl-C
// for the stop button, and a progress line on stderr for the two labels.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "cli/console_files.h"
#include "cli/language.h"
#include "conversion/conversion_host.h"

namespace quenlo {

class ConsoleHost final : public ConversionHost {
public:
    ConsoleHost(std::string input, std::string linesPerFile, std::filesystem::path resultsFolder,
                bool showProgress, Language language);
    ~ConsoleHost() override;

    std::string InputPathText() override { return input_; }
    std::string LinesPerFileText() override { return linesPerFile_; }
    bool StopRequested() override;
    void SetTimerEnabled(bool enabled) override;
    std::string TotalCaption() override { return total_; }
    void SetTotalCaption(std::string_view caption) override;
    void SetStartCaption(std::string_view) override {}
    void ShowMessage(std::string_view text, std::string_view title, MessageKind kind) override;
    void ProcessPendingMessages() override;
    void Notice(InputNotice notice) override;
    void Progress(std::uint64_t bytesRead, std::uint64_t inputLength) override;
    CalendarDate Today() override;
    std::filesystem::path ResultsFolder() override { return resultsFolder_; }
    FileSystem& Files() override { return *files_; }

    bool Finished() const { return finished_; }
    bool Failed() const { return failed_; }
    // Why the final message could not be written to standard output, if it could not.
    const std::optional<std::string>& OutputFailure() const { return outputFailure_; }

    // After a stop: the progress line shows the final count, and ends.
    void EndProgress();
    // A warning on stderr, below the progress line.
    void Warn(std::string_view text);

private:
    void ShowProgress(bool force);
    double ElapsedSeconds() const;

    using Clock = std::chrono::steady_clock;
    std::string input_;
    std::string linesPerFile_;
    std::filesystem::path resultsFolder_;
    std::unique_ptr<ConsoleFiles> files_;
    bool showProgress_;
    Language language_;
    std::string total_;
    std::uint64_t bytesRead_ = 0;
    std::optional<std::uint64_t> inputLength_;  // empty for a pipe
    std::optional<Clock::time_point> started_;
    Clock::time_point stoppedAt_{};
    Clock::time_point lastProgress_{};
    bool progressShown_ = false;
    std::size_t progressColumns_ = 0;  // of the line shown last
    bool finished_ = false;
    bool failed_ = false;
    std::optional<std::string> outputFailure_;
};

}  // namespace quenlo
