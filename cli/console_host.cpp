#include "cli/console_host.h"

#include <ctime>

#include "cli/console.h"
#include "cli/messages.h"
#include "cli/progress_line.h"
#include "conversion/texts.h"

namespace quenlo {
namespace {

// A terminal is refreshed at most four times a second.
constexpr auto kProgressInterval = std::chrono::milliseconds(250);

// Columns a terminal gives the text: two for CJK and other wide characters.
std::size_t ColumnsOf(std::string_view utf8) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) != 0x80) {
            columns += byte >= 0xE1 ? 2 : 1;  // lead bytes of U+1000 and above
        }
    }
    return columns;
}

}  // namespace

ConsoleHost::ConsoleHost(std::string input, std::string linesPerFile,
                         std::filesystem::path resultsFolder, bool showProgress, Language language)
    : input_(std::move(input)),
      linesPerFile_(std::move(linesPerFile)),
      resultsFolder_(std::move(resultsFolder)),
      files_(std::make_unique<ConsoleFiles>()),
      showProgress_(showProgress),
      language_(language),
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

void ConsoleHost::Progress(std::uint64_t bytesRead, std::uint64_t inputLength) {
    bytesRead_ = bytesRead;
    inputLength_ = inputLength;
}

void ConsoleHost::ShowMessage(std::string_view text, std::string_view, MessageKind kind) {
    if (kind == MessageKind::Information) {
        if (inputLength_) {
            bytesRead_ = *inputLength_;  // finished: the whole input went through
        }
        ShowProgress(true);  // a run too short for any pump still shows its count
    }
    EndProgress();
    if (kind == MessageKind::Error) {
        failed_ = true;
        WriteText(Stream::Err, "quenlo-split: " + JobText(text, language_) + "\n");
    } else {
        finished_ = true;
        outputFailure_ = WriteText(Stream::Out, JobText(text, language_) + "\n");
    }
}

void ConsoleHost::Notice(InputNotice notice) {
    if (notice == InputNotice::LinesEndInLF) {
        EndProgress();
        WriteText(Stream::Err, "quenlo-split: " + LinesEndInLFText(input_, language_) + "\n");
    }
}

void ConsoleHost::Warn(std::string_view text) {
    EndProgress();
    WriteText(Stream::Err,
              "quenlo-split: " + std::string(WarningPrefix(language_)) + std::string(text) + "\n");
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

double ConsoleHost::ElapsedSeconds() const {
    if (!started_) {
        return 0;
    }
    const auto end = stoppedAt_ > *started_ ? stoppedAt_ : Clock::now();
    return std::chrono::duration<double>(end - *started_).count();
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
    ProgressFigures progress;
    progress.lines = total_.starts_with(kTotalPrefix) ? total_.substr(kTotalPrefix.size()) : total_;
    progress.seconds = ElapsedSeconds();
    progress.bytesRead = bytesRead_;
    progress.inputSize = inputLength_;
    // Padding rubs out what a longer earlier line left.
    std::string line = ProgressLine(progress, language_);
    const std::size_t columns = ColumnsOf(line);
    line.append(progressColumns_ > columns ? progressColumns_ - columns : 0, ' ');
    progressColumns_ = columns;
    WriteText(Stream::Err, "\r" + line);
}

}  // namespace quenlo
