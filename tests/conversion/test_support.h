// What the conversion tests share: a scratch folder, file helpers and a host that
// stands in for the main window.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_host.h"
#include "conversion/run_conversion.h"

namespace quenlo::test {

// A fresh folder with Chinese characters in its name, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& file);
void WriteFile(const std::filesystem::path& file, const std::string& bytes);
// Text as UTF-16 bytes, little- or big-endian.
std::string Utf16LE(std::u16string_view text);
std::string Utf16BE(std::u16string_view text);
std::filesystem::path U8(std::string_view utf8);
std::string Utf8(const std::filesystem::path& path);

// The platform's own file system.
FileSystem& NativeFiles();

// Hands everything to a real input file; a test overrides what it disturbs.
class ForwardingInput : public InputFile {
public:
    explicit ForwardingInput(std::unique_ptr<InputFile> inner) : inner_(std::move(inner)) {}
    std::size_t Read(char* buffer, std::size_t size) override { return inner_->Read(buffer, size); }
    std::optional<FileIdentity> Identity() const override { return inner_->Identity(); }
    void CancelRead() override { inner_->CancelRead(); }

private:
    std::unique_ptr<InputFile> inner_;
};

// Hands everything to the platform's file system; a test overrides what it disturbs.
class ForwardingFileSystem : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override {
        return NativeFiles().OpenForReading(file);
    }
    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override {
        return NativeFiles().OpenForAppending(file);
    }
    bool Exists(const std::filesystem::path& path) override { return NativeFiles().Exists(path); }
    void CreateFolder(const std::filesystem::path& folder) override {
        NativeFiles().CreateFolder(folder);
    }
    std::vector<std::filesystem::path> FolderEntries(const std::filesystem::path& folder) override {
        return NativeFiles().FolderEntries(folder);
    }
    bool Remove(const std::filesystem::path& file) override { return NativeFiles().Remove(file); }
    std::optional<FileIdentity> Identity(const std::filesystem::path& file) override {
        return NativeFiles().Identity(file);
    }
};

// An input that keeps the run waiting: gives `before` at once, then waits in its next
// read until the read is cancelled (or, should a run never cancel it, for ten
// seconds, then gives the rest). Without a length it is a pipe whose writer stalls;
// with one, a disk file of that length on a share that hangs.
class StallingFiles final : public ForwardingFileSystem {
public:
    ~StallingFiles() override;
    std::string before;  // delivered at once
    std::string after;   // only after the stall
    std::optional<std::uint64_t> length;
    bool diskFull = false;  // every write fails
    // The stalled read ignores cancels, as on a share where the system cannot cancel:
    // it returns the rest once released (or after the ten seconds).
    bool ignoresCancel = false;

    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override;
    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override;
    // Whether the read that stalled ended by a cancel rather than by the ten seconds.
    bool StallCancelled();
    // Whether a read is waiting in the stall now.
    bool Stalled();
    void Release();
    // Waits until every input opened is gone (ten seconds at most); true if so.
    bool InputsClosed();

private:
    class Input;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool cancelled_ = false;
    bool stallCancelled_ = false;
    bool stalled_ = false;
    bool released_ = false;
    int openInputs_ = 0;
};

struct ShownMessage {
    std::string text;
    std::string title;
    MessageKind kind;
};

// The main window's side as plain fields; onPump runs inside every message pump,
// where a real window would handle clicks, edits and timer ticks.
class FakeHost : public ConversionHost {
public:
    FakeHost(std::filesystem::path input, std::filesystem::path results);

    std::string inputText;
    std::string linesPerFile = "30000";
    bool stopRequested = false;
    const std::atomic<bool>* signalled = nullptr;  // a stop set on another thread (Ctrl-C)
    bool timerEnabled = false;
    std::string totalCaption = "总共处理行数：0";
    std::string startCaption = "停止";
    CalendarDate today{2026, 12, 7};
    std::vector<ShownMessage> messages;
    int pumps = 0;
    std::uint64_t bytesRead = 0;  // as Progress last told
    std::function<void(FakeHost&)> onPump;
    RunningConversion* running = nullptr;  // while the run goes on
    FileSystem* files = &NativeFiles();
    std::filesystem::path resultsFolder;

    // The count the total caption shows.
    long long Total() const;
    void Run(RunOptions options = {std::chrono::milliseconds(0)});

    std::string InputPathText() override { return inputText; }
    std::string LinesPerFileText() override { return linesPerFile; }
    bool StopRequested() override { return stopRequested || (signalled && *signalled); }
    void SetTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    std::string TotalCaption() override { return totalCaption; }
    void SetTotalCaption(std::string_view caption) override { totalCaption = caption; }
    void SetStartCaption(std::string_view caption) override { startCaption = caption; }
    void ShowMessage(std::string_view text, std::string_view title, MessageKind kind) override {
        messages.push_back({std::string(text), std::string(title), kind});
    }
    void ProcessPendingMessages() override;
    void Progress(std::uint64_t read, std::uint64_t) override { bytesRead = read; }
    void SetRunningConversion(RunningConversion* run) override { running = run; }
    CalendarDate Today() override { return today; }
    std::filesystem::path ResultsFolder() override { return resultsFolder; }
    FileSystem& Files() override { return *files; }
};

}  // namespace quenlo::test
