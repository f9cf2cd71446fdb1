#include "cli/console_host.h"

#include <ctime>

#include "cli/console.h"
#include "conversion/leading_number.h"
#include "conversion/texts.h"

#include "cli/console_files.h"

namespace quenlo {
namespace {

// A terminal is refreshed at most four times a second.
constexpr auto kProgressInterval = std::chrono::milliseconds(250);

}  // namespace

ConsoleHost::ConsoleHost(std::string input, std::string linesPerFile,
                         std::filesystem::path resultsFolder, bool showProgress)
    : input_(std::move(input)),
      linesPerFile_(std::move(linesPerFile)),
      resultsFolder_(std::move(resultsFolder)),
      files_(std::make_unique<ConsoleFiles>()),
      showProgress_(showProgress),
      total_(std::string(kTotalPrefix) + "0") {}

ConsoleHost::~ConsoleHost() = default;

bool ConsoleHost::StopRequested() {
    return StopSignalled();
}

void ConsoleHost::SetTimerEnabled(bool enabled) {
    if (enabled) {
        started_ = Clock::now();
    } else {
        stoppedAt_ = Clock::now();
    }
}

void ConsoleHost::SetTotalCaption(std::string_view caption) {
    total_ = caption;
}

void ConsoleHost::ProcessPendingMessages() {
    ShowProgress(false);
}

void ConsoleHost::ShowMessage(std::string_view text, std::string_view, MessageKind kind) {
    EndProgress();
    if (kind == MessageKind::Error) {
        failed_ = true;
        WriteText(Stream::Err, "quenlo-split: " + std::string(text) + "\n");
    } else {
        finished_ = true;
        outputFailure_ = WriteText(Stream::Out, std::string(text) + "\n");
    }
}

void ConsoleHost::Notice(InputNotice notice) {
    if (notice == InputNotice::LinesEndInLF) {
        EndProgress();
        WriteText(Stream::Err, "quenlo-split: \"" + input_ + "\": lines end in LF\n");
    }
}

void ConsoleHost::Warn(std::string_view text) {
    EndProgress();
    WriteText(Stream::Err, "quenlo-split: warning: " + std::string(text) + "\n");
}

void ConsoleHost::EndProgress() {
    if (progressShown_) {
        ShowProgress(true);
        WriteText(Stream::Err, "\n");
        progressShown_ = false;
    }
}

CalendarDate ConsoleHost::Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

long long ConsoleHost::ElapsedSeconds() const {
    if (!started_) {
        return 0;
    }
    const auto end = stoppedAt_ > *started_ ? stoppedAt_ : Clock::now();
    return std::chrono::duration_cast<std::chrono::seconds>(end - *started_).count();
}

void ConsoleHost::ShowProgress(bool force) {
    if (!showProgress_) {
        return;
    }
    const auto now = Clock::now();
    if (!force && progressShown_ && now - lastProgress_ < kProgressInterval) {
        return;
    }
    lastProgress_ = now;
    progressShown_ = true;
    // Padding rubs out what a longer earlier line left.
    WriteText(Stream::Err, "\r" + total_ + "    " + std::to_string(ElapsedSeconds()) +
                               std::string(kSecondsSuffix) + "   ");
}

}  // namespace quenlo
