// What the conversion job needs from the program around it: the main window's
// fields and captions, message processing, the clock and the file system. The
// window, the console program and the tests each supply one.
//
// Every text crossing this interface is UTF-8; a host that talks to the platform
// in another code page converts at its own boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quenlo {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CalendarDate&) const = default;
};

// A failed file operation: which file, and the system's own words for why.
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path file, std::string reason)
        : std::runtime_error(reason), file_(std::move(file)), reason_(std::move(reason)) {}
    const std::filesystem::path& file() const { return file_; }
    const std::string& reason() const { return reason_; }

private:
    std::filesystem::path file_;
    std::string reason_;
};

// A read that CancelRead cut short: neither the end of the input nor a failure.
class ReadCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "read cancelled"; }
};

// Identifies a file independently of how its path is spelled (hard links,
// case, "..", short names all lead to the same identity). Some file systems number
// their files in 128 bits (ReFS): indexHigh holds the upper half, 0 elsewhere.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t indexHigh = 0;
    bool operator==(const FileIdentity&) const = default;
};

class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to size bytes; returns 0 only at the end of the file. Throws
    // FileError, or ReadCancelled when CancelRead ended the read.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // The file being read, whatever name or link led to it; empty when unknown.
    virtual std::optional<FileIdentity> Identity() const = 0;
    // The bytes there are to read, when known when opened (a disk file; not a pipe).
    virtual std::optional<std::uint64_t> Length() const { return std::nullopt; }
    // Makes a Read that waits in another thread for data that may never come (a
    // pipe whose writer stalls, a lost share) end soon with ReadCancelled. A read
    // that completes meanwhile still returns what it read. Without a known length
    // every later Read is cancelled at once too; a file of known length reads on,
    // so a cancel that comes too early takes nothing from it. Safe from any thread,
    // and more than once.
    virtual void CancelRead() = 0;
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Size of the file when it was opened: 0 means it was just created (or empty).
    virtual std::uint64_t SizeAtOpen() const = 0;
    // The file's last bytes when it was opened, up to two (one 16-bit unit); empty
    // when it was empty or could not be read.
    virtual std::string LastBytesAtOpen() const = 0;
    // Writes everything or throws FileError.
    virtual void Write(const char* data, std::size_t size) = 0;
    // Cuts the file back to size bytes; later writes follow them. Throws FileError.
    virtual void Truncate(std::uint64_t size) = 0;
    // Throws FileError when the last data cannot be committed.
    virtual void Close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) = 0;
    // Creates the file when missing; writes go after its current end.
    virtual std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) = 0;
    // True for a folder or a file of that name.
    virtual bool Exists(const std::filesystem::path& path) = 0;
    // Makes sure a folder of that name exists, creating one level when it is
    // missing; one that another program creates meanwhile is fine. Throws
    // FileError, also when the name belongs to something else than a folder.
    virtual void CreateFolder(const std::filesystem::path& folder) = 0;
    // The names in a folder; empty when it cannot be listed.
    virtual std::vector<std::filesystem::path> FolderEntries(
        const std::filesystem::path& folder) = 0;
    // Deletes a file; false when it could not be deleted.
    virtual bool Remove(const std::filesystem::path& file) = 0;
    // Empty when the file does not exist or cannot be examined.
    virtual std::optional<FileIdentity> Identity(const std::filesystem::path& file) = 0;
};

enum class MessageKind { Information, Error };

// Something odd about the input that the run goes on with, by the tool's rules.
enum class InputNotice {
    LinesEndInLF,  // its first block has LF but no CR: LF ends a line too
};

// The run as its host sees it while it goes on.
class RunningConversion {
public:
    // Ends the run's writing at once, from within ProcessPendingMessages: the output
    // files end at the last whole line and are closed, and the total counts exactly
    // those lines. For a host that cannot wait for the run to come back (the session
    // is ending, and the process may be ended once the host has answered). The run
    // then ends as stopped, writing nothing more; a failure to close is reported as
    // the run's failure once the run is back.
    virtual void CloseOutputNow() = 0;

protected:
    ~RunningConversion() = default;
};

class ConversionHost {
public:
    virtual ~ConversionHost() = default;

    // The main window's side.
    virtual std::string InputPathText() = 0;         // Text4
    virtual std::string LinesPerFileText() = 0;      // Text7
    virtual bool StopRequested() = 0;                // bStopRequested
    virtual void SetTimerEnabled(bool enabled) = 0;  // Timer1
    virtual std::string TotalCaption() = 0;          // Label7
    virtual void SetTotalCaption(std::string_view caption) = 0;
    virtual void SetStartCaption(std::string_view caption) = 0;  // Command2
    virtual void ShowMessage(std::string_view text, std::string_view title, MessageKind kind) = 0;
    virtual void ProcessPendingMessages() = 0;
    // Called every few milliseconds while a stop waits for a read it has cancelled,
    // which may take long to let go (a share whose server has gone): a window takes
    // its messages here, the stop already under way.
    virtual void KeepLiveWhileStopping() {}
    // A word about the input where the program has a place for it; the window has
    // none.
    virtual void Notice(InputNotice) {}
    // How far the run has read its input, told when the input opens (0) and at pump
    // time, when the input's length is known; never less than the time before.
    virtual void Progress(std::uint64_t /*bytesRead*/, std::uint64_t /*inputLength*/) {}
    // The run while it goes on, then null once it has returned.
    virtual void SetRunningConversion(RunningConversion* /*run*/) {}

    // Clock and file services.
    virtual CalendarDate Today() = 0;
    // The folder the numbered files go to ("转换结果" beside the program for the window).
    virtual std::filesystem::path ResultsFolder() = 0;
    virtual FileSystem& Files() = 0;
};

}  // namespace quenlo
