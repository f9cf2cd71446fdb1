#include "conversion/run_conversion.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "conversion/leading_number.h"
#include "conversion/line_splitter.h"
#include "conversion/output_writer.h"
#include "conversion/read_ahead.h"
#include "conversion/run_preparation.h"
#include "conversion/text_encoding.h"
#include "conversion/texts.h"

namespace quenlo {
namespace {

using Clock = std::chrono::steady_clock;

// Lines between two looks at the clock: rare enough to cost nothing, frequent enough
// that short lines still pump every few milliseconds. Long lines are caught at the
// block boundaries instead, and costly ones (a file opened for each) after the work
// on the files.
constexpr std::uint64_t kLinesPerClockCheck = 256;

class ConversionRun final : public RunningConversion {
public:
    ConversionRun(ConversionHost& host, const RunOptions& options)
        : host_(host), files_(host.Files()), options_(options) {}

    void Run();
    void CloseOutputNow() override;

    // The splitter's sink.
    std::uint64_t LinesBeforeCheck() const {
        const std::uint64_t toClock = linesPerClockCheck_ - linesSinceClock_;
        if (fileLimit_ > fileLines_) {
            return std::min(toClock, static_cast<std::uint64_t>(fileLimit_ - fileLines_));
        }
        return toClock;
    }
    bool VerbatimLines(std::string_view run, std::uint64_t lines) {
        writer_->AppendVerbatimLines(run, lines, fileNumber_);
        return LinesDone(lines);
    }
    bool WholeLine(std::string_view line) {
        writer_->AppendOutputLine(line, fileNumber_);
        return LinesDone(1);
    }
    void BeginLine() { writer_->BeginLine(fileNumber_); }
    void Text(std::string_view text) { writer_->AppendText(text); }
    void Spaces(std::uint64_t count) { writer_->AppendSpaces(count); }
    bool EndLine() {
        writer_->EndLine();
        return LinesDone(1);
    }

private:
    void Prepare();
    // Nothing when the run was stopped while the input kept it waiting.
    std::optional<ReadAhead::Block> NextBlock(const std::function<bool()>& giveUp);
    bool StopWhileWaiting();
    void CloseInput();
    void StartWriter(const EncodingSignature& signature);

    template <class Units>
    [[gnu::noinline]] bool Split(const char* first, const char* last);
    template <class Units>
    bool SplitWithLineEnds(bool lineFeedEnds, const char* first, const char* last) {
        return lineFeedEnds ? Split<LineFeedEnding<Units>>(first, last) : Split<Units>(first, last);
    }
    template <class Units>
    bool NothingLeft(const LineSplitter<Units, ConversionRun>& splitter, const char* first,
                     const char* last);

    // After lines that never pass a check (LinesBeforeCheck): the counting rule, then
    // now and then a look at the clock.
    bool LinesDone(std::uint64_t lines) {
        linesDone_ += lines;
        fileLines_ += static_cast<std::int64_t>(lines);
        if (fileLines_ == fileLimit_) {
            ++fileNumber_;
            fileLines_ = 0;
        }
        linesSinceClock_ += lines;
        if (linesSinceClock_ >= linesPerClockCheck_) {
            return PumpAfterLine();
        }
        return true;
    }
    bool PumpAfterLine();
    // After work that may have taken long: the clock is looked at when the line ends,
    // however few lines have passed.
    void LookAtClockAtLineEnd() { linesSinceClock_ = linesPerClockCheck_ - 1; }
    // Room for a byte-order mark and a line end in the first block.
    std::size_t BlockSize() const { return std::max<std::size_t>(options_.blockSize, 16); }
    Clock::time_point Now() const { return options_.clock ? options_.clock() : Clock::now(); }
    bool Due(Clock::time_point since);
    // Messages are due: the window has not been live for an interval.
    bool PumpDue() { return Due(lastPump_); }
    void Pump();
    // The host's messages, and what they asked for: true to stop the run.
    bool ProcessMessages();
    // Messages and the bytes read, not the count: for within a line.
    void KeepLive();
    void ReadSettings();
    void UpdateTotal();

    void Finish();
    void Stop();
    void Fail(const RunFailure& failure);

    ConversionHost& host_;
    FileSystem& files_;
    RunOptions options_;
    std::optional<FileIdentity> inputIdentity_;
    std::unique_ptr<InputFile> input_;
    std::unique_ptr<ReadAhead> reader_;  // takes input_ over once the run reads
    std::unique_ptr<OutputWriter> writer_;

    std::int64_t fileNumber_ = 1;  // n
    std::int64_t fileLines_ = 0;   // c
    // N when c can ever equal it (a whole number from 1 on), else -1: c == N is then
    // a comparison of integers.
    std::int64_t fileLimit_ = -1;
    bool stopRequested_ = false;
    bool outputClosed_ = false;  // by the host, from within its messages
    std::optional<RunFailure> closeFailure_;
    std::uint64_t countedLines_ = 0;  // lines already shown in the total
    std::uint64_t linesSinceClock_ = 0;
    std::uint64_t linesDone_ = 0;
    std::uint64_t linesAtLastBlock_ = 0;
    std::uint64_t bytesRead_ = 0;  // of the blocks handed to the splitter so far
    std::optional<std::uint64_t> inputLength_;
    std::uint64_t linesPerClockCheck_ =
        options_.pumpInterval.count() > 0 ? kLinesPerClockCheck : 1;
    Clock::time_point lastPump_ = Now();       // messages last processed
    Clock::time_point lastCount_ = lastPump_;  // the count last shown
};

void ConversionRun::Run() {
    host_.SetTimerEnabled(true);
    try {
        Prepare();
        // A stop that waits for a read keeps the window live, so that the end of the
        // session can still close the files from there.
        reader_ = std::make_unique<ReadAhead>(
            std::move(input_), BlockSize(),
            ReadAhead::StopWait{[this] { host_.KeepLiveWhileStopping(); }, options_.readPatience,
                                options_.clock});
        const std::optional<ReadAhead::Block> firstBlock =
            NextBlock([&] { return StopWhileWaiting(); });
        if (!firstBlock) {
            Stop();
            return;
        }
        const ReadAhead::Block head = *firstBlock;
        bytesRead_ = head.size;
        const EncodingSignature signature = DetectEncoding(std::string_view(head.data, head.size));
        // Decided once, from the first block: a lone LF further on in a file that has
        // CRs stays inside its line, and the reverse.
        const bool lineFeedEnds =
            LineFeedsWithoutCR(std::string_view(head.data, head.size).substr(signature.mark.size()),
                               signature.encoding);
        if (lineFeedEnds) {
            host_.Notice(InputNotice::LinesEndInLF);
        }
        StartWriter(signature);
        ReadSettings();
        // The output may have been closed while the first read kept the run waiting.
        stopRequested_ = outputClosed_ || host_.StopRequested();
        const char* first = head.data + signature.mark.size();
        const char* last = head.data + head.size;
        bool finished = false;
        switch (signature.encoding) {
            case TextEncoding::Utf16LE:
                finished = SplitWithLineEnds<Utf16LEUnits>(lineFeedEnds, first, last);
                break;
            case TextEncoding::Utf16BE:
                finished = SplitWithLineEnds<Utf16BEUnits>(lineFeedEnds, first, last);
                break;
            default:
                finished = SplitWithLineEnds<ByteUnits>(lineFeedEnds, first, last);
                break;
        }
        if (finished) {
            Finish();
        } else {
            Stop();
        }
    } catch (const RunFailure& failure) {
        Fail(failure);
    } catch (const FileError& error) {
        // Everything but the input's own errors comes from the output files.
        Fail({Describe(kCannotWriteOutput, error.file(), error.reason()), true});
    }
}

// Everything before the first line.
void ConversionRun::Prepare() {
    PreparedInput prepared = PrepareRun(host_, options_);
    input_ = std::move(prepared.file);
    inputIdentity_ = prepared.identity;
    inputLength_ = prepared.length;
}

std::optional<ReadAhead::Block> ConversionRun::NextBlock(const std::function<bool()>& giveUp) {
    // A pump while the input keeps us waiting may fail to write: that is the output's
    // failure, not a read error. It ends the wait and is raised once the read is over.
    std::exception_ptr pumpFailure;
    const auto ask = [&] {
        try {
            return giveUp();
        } catch (...) {
            pumpFailure = std::current_exception();
            return true;
        }
    };
    std::optional<ReadAhead::Block> block;
    try {
        block = reader_->Next(ask);
    } catch (const FileError& error) {
        if (!pumpFailure) {
            throw RunFailure{Describe(kCannotReadInput, error.file(), error.reason()), false};
        }
    }
    if (pumpFailure) {
        std::rethrow_exception(pumpFailure);
    }
    if (closeFailure_) {  // the output closed while a stop waited for the read
        throw *std::exchange(closeFailure_, std::nullopt);
    }
    return block;
}

// While the input keeps the run waiting (a pipe whose writer stalls, a slow share)
// the window stays live and shows the lines done so far, and a stop ends the run
// there.
bool ConversionRun::StopWhileWaiting() {
    if (PumpDue()) {
        if (writer_) {
            Pump();
        } else {
            ProcessMessages();
            lastPump_ = Now();
        }
    }
    return outputClosed_ || host_.StopRequested();
}

void ConversionRun::StartWriter(const EncodingSignature& signature) {
    OutputFormat format{signature.mark, ByteUnits::kSpace, ByteUnits::kLineEnd};
    if (signature.encoding == TextEncoding::Utf16LE) {
        format.space = Utf16LEUnits::kSpace;
        format.lineEnd = Utf16LEUnits::kLineEnd;
    } else if (signature.encoding == TextEncoding::Utf16BE) {
        format.space = Utf16BEUnits::kSpace;
        format.lineEnd = Utf16BEUnits::kLineEnd;
    }
    writer_ = std::make_unique<OutputWriter>(files_, host_.ResultsFolder(), format, inputIdentity_,
                                             BlockSize());
    writer_->SetAfterFileWork([this] { LookAtClockAtLineEnd(); });
}

// Feeds the input through the splitter block by block, starting with the bytes
// already in [first, last). True at the end of the input, false on a stop.
template <class Units>
bool ConversionRun::Split(const char* first, const char* last) {
    LineSplitter<Units, ConversionRun> splitter(*this);
    for (;;) {
        if (stopRequested_) {
            writer_->ReleaseInput();
            return NothingLeft(splitter, first, last);
        }
        // 16-bit units: a unit cut by the block boundary waits for its second byte.
        const std::size_t whole =
            static_cast<std::size_t>(last - first) / Units::kSize * Units::kSize;
        const char* stoppedAt = splitter.Consume(first, first + whole);
        if (stopRequested_) {
            first = stoppedAt;
            continue;
        }
        // The block is about to be handed back: output still pointing into it goes first.
        writer_->ReleaseInput();
        const std::size_t carried = static_cast<std::size_t>(last - first) - whole;
        const char carry = carried > 0 ? first[whole] : 0;
        const std::optional<ReadAhead::Block> next = NextBlock([&] { return StopWhileWaiting(); });
        // A stop seen while waiting ends the run there, also when the read it cancelled
        // completed after all; at a line's end that block is still looked at.
        if (!next || (stopRequested_ && splitter.InLine())) {
            // The line begun when the input stalled is not counted: take it back.
            if (splitter.InLine()) {
                writer_->DropLine();
            }
            stopRequested_ = true;
            return false;
        }
        const ReadAhead::Block block = *next;
        bytesRead_ += block.size;
        if (block.size == 0) {
            // A stop asked for before the end was seen wins: Ctrl-C reaches the writer
            // of a pipe too, whose end then cuts its last line (the handler runs on a
            // thread of its own, so the flag may be set while nothing pumps).
            if ((splitter.InLine() || carried > 0) && (outputClosed_ || host_.StopRequested())) {
                writer_->DropLine();
                stopRequested_ = true;
                return false;
            }
            if (carried > 0) {
                splitter.StrayByte(carry);
            }
            splitter.Finish();
            return true;
        }
        if (carried > 0) {
            block.data[-1] = carry;
        }
        first = block.data - carried;
        last = block.data + block.size;
        // A line still open after a whole block is a long one.
        const bool longLine = splitter.InLine() && linesDone_ == linesAtLastBlock_;
        linesAtLastBlock_ = linesDone_;
        if (PumpDue()) {
            if (!splitter.InLine()) {
                Pump();
            } else if (longLine) {
                // Within a long line the window stays live and can stop the run: then
                // the part of the line already written goes again, so the files hold
                // exactly the counted lines. Lines ended before it are shown now, or
                // a line of a gigabyte would hide them; otherwise the count waits
                // for the line's end, and only the bytes read move on.
                if (linesDone_ != countedLines_) {
                    Pump();
                } else {
                    KeepLive();
                }
                if (stopRequested_) {
                    writer_->DropLine();
                    return false;
                }
                LookAtClockAtLineEnd();
            } else {
                // The line ends moments from now: pump there, where the files and the
                // count agree.
                LookAtClockAtLineEnd();
            }
        }
    }
}

// After a stop: the run still finished when all that is left of the input is the LF
// of its last CR LF, also when that LF comes in the next block. The read of that block
// is cancelled when it keeps the stop waiting (a stalled pipe, a lost share); one that
// completes first, however late on a busy disk, still counts.
template <class Units>
bool ConversionRun::NothingLeft(const LineSplitter<Units, ConversionRun>& splitter,
                                const char* first, const char* last) {
    constexpr std::size_t kEnough = 2 * Units::kSize;  // that LF and one unit more
    std::string rest(first, std::min(static_cast<std::size_t>(last - first), kEnough));
    while (rest.size() < kEnough) {
        const std::optional<ReadAhead::Block> block = NextBlock([] { return true; });
        if (!block) {
            return false;
        }
        if (block->size == 0) {
            break;
        }
        rest.append(block->data, std::min(block->size, kEnough - rest.size()));
    }
    return !splitter.HoldsMore(rest.data(), rest.data() + rest.size());
}

void ConversionRun::CloseInput() {
    reader_.reset();
    input_.reset();
}

bool ConversionRun::PumpAfterLine() {
    linesSinceClock_ = 0;
    // Timed from the count, not from the messages: within a long line the messages
    // alone are processed, and the count must not wait for a pump after its end.
    if (Due(lastCount_)) {
        Pump();
    }
    return !stopRequested_;
}

bool ConversionRun::Due(Clock::time_point since) {
    return options_.pumpInterval.count() <= 0 || Now() - since >= options_.pumpInterval;
}

void ConversionRun::KeepLive() {
    if (inputLength_) {
        host_.Progress(bytesRead_, *inputLength_);
    }
    stopRequested_ = ProcessMessages();
    lastPump_ = Now();
}

// After every pump the files hold exactly the lines the total shows.
void ConversionRun::Pump() {
    writer_->FlushWholeLines();
    UpdateTotal();
    KeepLive();
    ReadSettings();
    linesSinceClock_ = 0;  // the flush above needs no second look
    lastCount_ = lastPump_;
}

bool ConversionRun::ProcessMessages() {
    host_.ProcessPendingMessages();
    if (closeFailure_) {
        throw *std::exchange(closeFailure_, std::nullopt);
    }
    return outputClosed_ || host_.StopRequested();
}

// Called from within ProcessMessages, wherever the run was: at a line's end, inside
// a long line, or waiting for the input. The block the run works on stays where it is.
void ConversionRun::CloseOutputNow() {
    stopRequested_ = true;
    const bool open = writer_ && !outputClosed_;
    outputClosed_ = true;
    if (!open) {
        return;
    }
    try {
        writer_->CloseAtLastWholeLine();
    } catch (const FileError& error) {
        writer_->Abandon();
        closeFailure_ =
            RunFailure{Describe(kCannotWriteOutput, error.file(), error.reason()), true};
    }
    UpdateTotal();
}

void ConversionRun::ReadSettings() {
    fileLimit_ = FileLimit(LeadingNumber(TrimSpaces(host_.LinesPerFileText())));
    writer_->SetDate(host_.Today());
}

void ConversionRun::UpdateTotal() {
    const std::uint64_t committed = writer_ ? writer_->CommittedLines() : 0;
    if (committed == countedLines_) {
        return;
    }
    std::string caption = host_.TotalCaption();
    for (auto at = caption.find(kTotalPrefix); at != std::string::npos;
         at = caption.find(kTotalPrefix, at)) {
        caption.erase(at, kTotalPrefix.size());
    }
    const double total = LeadingNumber(caption) + static_cast<double>(committed - countedLines_);
    countedLines_ = committed;
    host_.SetTotalCaption(std::string(kTotalPrefix) + FormatWholeNumber(total));
}

void ConversionRun::Finish() {
    writer_->Close();
    UpdateTotal();
    CloseInput();
    host_.SetTimerEnabled(false);
    host_.SetStartCaption(kStartCaption);
    host_.ShowMessage(kFinishedText, kFinishedTitle, MessageKind::Information);
}

void ConversionRun::Stop() {
    if (writer_) {
        writer_->Close();
    }
    UpdateTotal();
    CloseInput();
    // A stopped run is over: its seconds must not go on counting.
    host_.SetTimerEnabled(false);
}

void ConversionRun::Fail(const RunFailure& failure) {
    if (writer_) {
        // Whatever ended the run, the files end on the last line counted.
        if (failure.outputBroken) {
            writer_->Abandon();
        } else {
            try {
                writer_->CloseAtLastWholeLine();
            } catch (const FileError&) {
                writer_->Abandon();
            }
        }
        UpdateTotal();
    }
    CloseInput();
    host_.SetTimerEnabled(false);
    host_.SetStartCaption(kStartCaption);
    host_.ShowMessage(failure.message, kErrorTitle, MessageKind::Error);
}

}  // namespace

void RunConversion(ConversionHost& host, const RunOptions& options) {
    ConversionRun run(host, options);
    struct Attached {
        ConversionHost& host;
        ~Attached() { host.SetRunningConversion(nullptr); }
    } attached{host};
    host.SetRunningConversion(&run);
    run.Run();
}

}  // namespace quenlo
