// The numbered output files, written through one buffer. The current file stays
// open until the line number's file or the date changes, so a run costs one open
// per output file rather than one per line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "conversion/conversion_host.h"

namespace quenlo {

struct OutputFormat {
    std::string_view mark;     // written first into every newly created file
    std::string_view space;    // one space in the input's encoding
    std::string_view lineEnd;  // CR LF in the input's encoding
};

class OutputWriter {
public:
    OutputWriter(FileSystem& files, std::filesystem::path folder, OutputFormat format,
                 std::optional<FileIdentity> input, std::size_t bufferSize = 1 << 20);
    ~OutputWriter();
    OutputWriter(const OutputWriter&) = delete;
    OutputWriter& operator=(const OutputWriter&) = delete;

    // Called after each step that reaches the file system (a file opened, written to
    // or closed): any of them may take long, and the caller keeps a cadence.
    void SetAfterFileWork(std::function<void()> afterFileWork) {
        afterFileWork_ = std::move(afterFileWork);
    }

    // Lines begun after this go to files of this date.
    void SetDate(const CalendarDate& date);

    // Appends one whole line and its CR LF to output file n of the current date. Every
    // line of a file whose lines end in LF comes this way: the usual case, a short line
    // for the current file, goes straight into the buffer.
    void AppendOutputLine(std::string_view line, std::int64_t fileNumber);

    // The same for consecutive lines that arrive with their CR LF and need no change.
    // Runs that follow each other in the input block are written as one piece,
    // without copying; the block must stay untouched until ReleaseInput.
    void AppendVerbatimLines(std::string_view run, std::uint64_t lines, std::int64_t fileNumber) {
        if (run.data() == spanEnd_ && spanEnd_ && fileNumber == fileNumber_ &&
            date_ == fileDate_) {
            spanEnd_ += run.size();
            spanLines_ += lines;
        } else {
            StartSpan(run, lines, fileNumber);
        }
    }
    void ReleaseInput() { CommitSpan(); }

    // The same in pieces, for lines that do not fit in memory.
    void BeginLine(std::int64_t fileNumber);
    void AppendText(std::string_view text);
    void AppendSpaces(std::uint64_t count);
    void EndLine();
    // Takes back what has been put of the line begun in pieces: from the buffer, or
    // from the file by cutting it back.
    void DropLine();

    // Commits the buffer to the current file. All throw FileError naming the file.
    void Flush();
    // The same, but a line being put in pieces stays in the buffer while it fits,
    // so that the file holds whole lines only.
    void FlushWholeLines();
    void Close();
    // After a failure elsewhere (the input): a line begun in pieces is taken back,
    // the whole lines before it are committed, and the file closed.
    void CloseAtLastWholeLine();
    // After a failed write: drops what cannot be written, cuts the file back to the
    // end of its last committed line (a failed write may have left part of the
    // buffer on disk) and closes, all without throwing.
    void Abandon();

    // Lines whose CR LF has been handed to the file system.
    std::uint64_t CommittedLines() const { return committedLines_; }

private:
    // Makes file n of the current date the one bytes go to.
    void SelectFile(std::int64_t fileNumber);
    void OpenTarget();
    bool EndsWithinALine(std::string_view lastBytes) const;
    void StartSpan(std::string_view run, std::uint64_t lines, std::int64_t fileNumber);
    void CommitSpan();
    // The common case inline: a small piece that fits in the buffer.
    void Put(std::string_view data) {
        if (!spanEnd_ && data.size() <= buffer_.size() - used_ &&
            data.size() < buffer_.size() / 4) {
            // Not memcpy: an empty view's data() may be null, which memcpy must never see.
            std::copy_n(data.data(), data.size(), buffer_.data() + used_);
            used_ += data.size();
        } else {
            PutSlowly(data);
        }
    }
    void PutSlowly(std::string_view data);
    void WriteOut(std::string_view data);
    void FileWorkDone() {
        if (afterFileWork_) {
            afterFileWork_();
        }
    }

    FileSystem& files_;
    std::filesystem::path folder_;
    OutputFormat format_;
    std::optional<FileIdentity> input_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    CalendarDate date_;
    // The file the buffered bytes belong to.
    std::unique_ptr<OutputFile> file_;
    std::uint64_t fileWritten_ = 0;   // bytes handed to file_
    std::uint64_t lineStart_ = 0;     // offset in the file of the line being put in pieces
    bool inPieces_ = false;           // a line begun in pieces has not ended yet
    std::uint64_t committedEnd_ = 0;  // offset in the file after its last committed line
    std::filesystem::path filePath_;
    std::int64_t fileNumber_ = 0;
    CalendarDate fileDate_;
    // Verbatim lines still in the caller's input block.
    const char* spanBegin_ = nullptr;
    const char* spanEnd_ = nullptr;
    std::uint64_t spanLines_ = 0;
    std::uint64_t committedLines_ = 0;
    std::uint64_t bufferedLines_ = 0;
    std::function<void()> afterFileWork_;
};

}  // namespace quenlo
