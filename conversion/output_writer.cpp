#include "conversion/output_writer.h"

#include <algorithm>
#include <cstring>

#include "conversion/output_naming.h"
#include "conversion/texts.h"

namespace quenlo {

OutputWriter::OutputWriter(FileSystem& files, std::filesystem::path folder, OutputFormat format,
                           std::optional<FileIdentity> input, std::size_t bufferSize)
    : files_(files),
      folder_(std::move(folder)),
      format_(format),
      input_(input),
      buffer_(std::max<std::size_t>(bufferSize, 64)) {}

OutputWriter::~OutputWriter() {
    Abandon();
}

void OutputWriter::SetDate(const CalendarDate& date) {
    date_ = date;
}

void OutputWriter::AppendOutputLine(std::string_view line, std::int64_t fileNumber) {
    const std::size_t size = line.size() + format_.lineEnd.size();
    const bool sameFile = file_ && fileNumber == fileNumber_ && date_ == fileDate_;
    if (sameFile && spanEnd_) {
        CommitSpan();  // the lines before it, usually: then this one joins them
    }
    if (sameFile && size <= buffer_.size() - used_ && size < buffer_.size() / 4) {
        char* const at = buffer_.data() + used_;
        std::copy_n(line.data(), line.size(), at);  // an empty line's data() may be null
        std::memcpy(at + line.size(), format_.lineEnd.data(), format_.lineEnd.size());
        used_ += size;
        ++bufferedLines_;
        inPieces_ = false;
        return;
    }
    SelectFile(fileNumber);
    CommitSpan();
    // Never a flush between the text and its CR LF: the file's end of whole lines
    // would be taken after a text without its end, and a failure after that would
    // leave the text there, uncounted.
    if (size > buffer_.size() - used_) {
        Flush();
    }
    AppendText(line);
    EndLine();
}

void OutputWriter::StartSpan(std::string_view run, std::uint64_t lines, std::int64_t fileNumber) {
    SelectFile(fileNumber);
    CommitSpan();
    spanBegin_ = run.data();
    spanEnd_ = spanBegin_ + run.size();
    spanLines_ = lines;
}

void OutputWriter::CommitSpan() {
    if (!spanEnd_) {
        return;
    }
    const std::string_view span(spanBegin_, static_cast<std::size_t>(spanEnd_ - spanBegin_));
    const std::uint64_t lines = spanLines_;
    spanBegin_ = spanEnd_ = nullptr;
    spanLines_ = 0;
    Put(span);
    bufferedLines_ += lines;
}

void OutputWriter::SelectFile(std::int64_t fileNumber) {
    if (file_ && fileNumber == fileNumber_ && date_ == fileDate_) {
        return;
    }
    Close();
    fileNumber_ = fileNumber;
    fileDate_ = date_;
    OpenTarget();
}

void OutputWriter::OpenTarget() {
    filePath_ = folder_ / PathFromUtf8(OutputFileName(fileNumber_, fileDate_));
    // Checked before every open: appending to the file being read would never end.
    if (input_ && files_.Identity(filePath_) == input_) {
        throw FileError(filePath_, std::string(kInputIsOutput));
    }
    file_ = files_.OpenForAppending(filePath_);
    fileWritten_ = 0;
    committedEnd_ = file_->SizeAtOpen();
    if (file_->SizeAtOpen() == 0) {
        Put(format_.mark);
    } else if (EndsWithinALine(file_->LastBytesAtOpen())) {
        // A file cut short (a power failure, an edit by hand): its last text stays a
        // record of its own rather than being joined to the first new line.
        Put(format_.lineEnd);
    }
    FileWorkDone();
}

bool OutputWriter::EndsWithinALine(std::string_view lastBytes) const {
    // In the run's units: CR LF is two of them.
    const std::string_view cr = format_.lineEnd.substr(0, format_.lineEnd.size() / 2);
    const std::string_view lf = format_.lineEnd.substr(cr.size());
    return !lastBytes.empty() && !lastBytes.ends_with(cr) && !lastBytes.ends_with(lf);
}

void OutputWriter::AppendText(std::string_view text) {
    Put(text);
}

void OutputWriter::AppendSpaces(std::uint64_t count) {
    // Held-back spaces can number in the millions inside a long line: put them in chunks.
    char chunk[4096];
    const std::size_t unit = format_.space.size();
    const std::size_t perChunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof chunk / unit));
    for (std::size_t i = 0; i < perChunk; ++i) {
        std::memcpy(chunk + i * unit, format_.space.data(), unit);
    }
    while (count > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, perChunk));
        Put(std::string_view(chunk, n * unit));
        count -= n;
    }
}

void OutputWriter::EndLine() {
    Put(format_.lineEnd);
    ++bufferedLines_;
    inPieces_ = false;
}

void OutputWriter::BeginLine(std::int64_t fileNumber) {
    SelectFile(fileNumber);
    CommitSpan();  // so that the line starts after everything put before it
    lineStart_ = file_->SizeAtOpen() + fileWritten_ + used_;
    inPieces_ = true;
}

void OutputWriter::DropLine() {
    if (!inPieces_) {
        return;  // nothing begun, or already taken back when the file was closed
    }
    inPieces_ = false;
    const std::uint64_t onDisk = file_->SizeAtOpen() + fileWritten_;
    if (lineStart_ >= onDisk) {
        used_ = static_cast<std::size_t>(lineStart_ - onDisk);
        return;
    }
    used_ = 0;
    file_->Truncate(lineStart_);
    fileWritten_ = lineStart_ - file_->SizeAtOpen();
}

void OutputWriter::PutSlowly(std::string_view data) {
    CommitSpan();
    // Large pieces go straight to the file rather than through the buffer.
    if (data.size() > buffer_.size() - used_ || data.size() >= buffer_.size() / 4) {
        Flush();
        if (data.size() >= buffer_.size() / 4) {
            WriteOut(data);
            return;
        }
    }
    std::copy_n(data.data(), data.size(), buffer_.data() + used_);
    used_ += data.size();
}

void OutputWriter::WriteOut(std::string_view data) {
    try {
        file_->Write(data.data(), data.size());
        fileWritten_ += data.size();
    } catch (const FileError&) {
        throw;
    } catch (const std::exception& e) {
        throw FileError(filePath_, e.what());
    }
    FileWorkDone();
}

void OutputWriter::Flush() {
    CommitSpan();
    if (file_ && used_ > 0) {
        WriteOut(std::string_view(buffer_.data(), used_));
        used_ = 0;
    }
    committedLines_ += bufferedLines_;
    bufferedLines_ = 0;
    if (file_) {
        // Large pieces went to the file directly: everything before a line still
        // being put is whole.
        committedEnd_ = inPieces_ ? lineStart_ : file_->SizeAtOpen() + fileWritten_;
    }
}

void OutputWriter::FlushWholeLines() {
    const std::uint64_t onDisk = file_ ? file_->SizeAtOpen() + fileWritten_ : 0;
    if (!inPieces_ || lineStart_ < onDisk) {
        Flush();  // no line in pieces, or one too long to keep, already partly on disk
        return;
    }
    const auto whole = static_cast<std::size_t>(lineStart_ - onDisk);
    if (whole > 0) {
        WriteOut(std::string_view(buffer_.data(), whole));
        std::memmove(buffer_.data(), buffer_.data() + whole, used_ - whole);
        used_ -= whole;
    }
    committedLines_ += bufferedLines_;
    bufferedLines_ = 0;
    committedEnd_ = lineStart_;
}

void OutputWriter::Close() {
    if (!file_) {
        return;
    }
    Flush();
    std::unique_ptr<OutputFile> file = std::move(file_);
    file->Close();
    FileWorkDone();
}

void OutputWriter::CloseAtLastWholeLine() {
    if (inPieces_ && file_) {
        DropLine();
    }
    Close();
}

void OutputWriter::Abandon() {
    spanBegin_ = spanEnd_ = nullptr;
    spanLines_ = 0;
    used_ = 0;
    bufferedLines_ = 0;
    inPieces_ = false;
    if (file_) {
        std::unique_ptr<OutputFile> file = std::move(file_);
        // The run already reports the failure that led here: these may fail too.
        try {
            file->Truncate(committedEnd_);
        } catch (const std::exception&) {
        }
        try {
            file->Close();
        } catch (const std::exception&) {
        }
    }
}

}  // namespace quenlo
