// What the conversion tests share: a scratch folder, file helpers and a host that
// stands in for the main window.
#pragma once

#include <array>
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

// The job's file calls, by kind.
enum class FileCall { OpenInput, OpenOutput, CreateFolder, Read, Write, Truncate, Close, Identity };
inline constexpr int kFileCallKinds = 8;
inline constexpr std::string_view kInjectedFailure = "injected failure";

// The platform's file system with every call counted by kind, and one chosen call
// failing: run a job once to count, then fail each call in turn. A chosen read may
// instead come back short, or find the input cut there by another program; both
// give odd byte counts, so that 16-bit units are cut in two.
class FaultingFileSystem final : public ForwardingFileSystem {
public:
    enum class Fault { Error, ShortRead, Cut };
    std::array<int, kFileCallKinds> calls{};
    bool struck = false;  // the chosen call came, and failed
    std::filesystem::path struckFile;
    std::uint64_t bytesBefore = 0;  // of the input, before a failed or cut read

    // nth counts from 1; 0 fails nothing.
    void Arm(FileCall call, int nth, Fault fault = Fault::Error) {
        calls = {};
        struck = false;
        call_ = call;
        nth_ = nth;
        fault_ = fault;
    }

    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override {
        FailIfChosen(FileCall::OpenInput, file);
        return std::make_unique<Input>(*this, file, NativeFiles().OpenForReading(file));
    }
    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override {
        FailIfChosen(FileCall::OpenOutput, file);
        return std::make_unique<Output>(*this, file, NativeFiles().OpenForAppending(file));
    }
    void CreateFolder(const std::filesystem::path& folder) override {
        FailIfChosen(FileCall::CreateFolder, folder);
        NativeFiles().CreateFolder(folder);
    }
    std::optional<FileIdentity> Identity(const std::filesystem::path& file) override {
        return Strikes(FileCall::Identity, file) ? std::nullopt : NativeFiles().Identity(file);
    }

private:
    class Input final : public ForwardingInput {
    public:
        Input(FaultingFileSystem& owner, std::filesystem::path path,
              std::unique_ptr<InputFile> real)
            : ForwardingInput(std::move(real)),
              owner_(owner),
              path_(std::move(path)),
              length_(std::filesystem::file_size(path_)) {}
        std::size_t Read(char* buffer, std::size_t size) override;
        std::optional<FileIdentity> Identity() const override {
            return owner_.Strikes(FileCall::Identity, path_) ? std::nullopt
                                                             : ForwardingInput::Identity();
        }
        std::optional<std::uint64_t> Length() const override { return length_; }

    private:
        FaultingFileSystem& owner_;
        std::filesystem::path path_;
        std::uint64_t length_;
        std::uint64_t read_ = 0;
    };
    class Output final : public OutputFile {
    public:
        Output(FaultingFileSystem& owner, std::filesystem::path path,
               std::unique_ptr<OutputFile> real)
            : owner_(owner), path_(std::move(path)), real_(std::move(real)) {}
        std::uint64_t SizeAtOpen() const override { return real_->SizeAtOpen(); }
        void Write(const char* data, std::size_t size) override {
            const bool fails = owner_.Strikes(FileCall::Write, path_);
            real_->Write(data, fails ? size / 2 : size);  // as a full disk: part, then the error
            owner_.FailIfChosen(fails, path_);
        }
        void Truncate(std::uint64_t size) override {
            owner_.FailIfChosen(FileCall::Truncate, path_);
            real_->Truncate(size);
        }
        void Close() override {
            real_->Close();
            owner_.FailIfChosen(FileCall::Close, path_);
        }

    private:
        FaultingFileSystem& owner_;
        std::filesystem::path path_;
        std::unique_ptr<OutputFile> real_;
    };

    // Counts the call; true when it is the one to fail.
    bool Strikes(FileCall call, const std::filesystem::path& file) {
        if (++calls[static_cast<int>(call)] != nth_ || call != call_) {
            return false;
        }
        struck = true;
        struckFile = file;
        return true;
    }
    void FailIfChosen(FileCall call, const std::filesystem::path& file) {
        FailIfChosen(Strikes(call, file), file);
    }
    void FailIfChosen(bool chosen, const std::filesystem::path& file) {
        if (chosen) {
            throw FileError(file, std::string(kInjectedFailure));
        }
    }

    FileCall call_ = FileCall::OpenInput;
    int nth_ = 0;
    Fault fault_ = Fault::Error;
};

// An input that keeps the run waiting: gives `before` at once, then waits in its next
// read until the read is cancelled (or, should a run never cancel it, for ten
// seconds, then gives the rest). Without a length it is a pipe whose writer stalls;
// with one, a disk file of that length on a share that hangs.
class StallingFiles final : public ForwardingFileSystem {
public:
    std::string before;  // delivered at once
    std::string after;   // only after the stall
    std::optional<std::uint64_t> length;
    bool diskFull = false;  // every write fails

    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override;
    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override;
    // Whether the read that stalled ended by a cancel rather than by the ten seconds.
    bool StallCancelled();

private:
    class Input;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool cancelled_ = false;
    bool stallCancelled_ = false;
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
    bool timerEnabled = false;
    std::string totalCaption = "总共处理行数：0";
    std::string startCaption = "停止";
    CalendarDate today{2026, 12, 7};
    std::vector<ShownMessage> messages;
    int pumps = 0;
    std::uint64_t bytesRead = 0;  // as Progress last told
    std::function<void(FakeHost&)> onPump;
    FileSystem* files = &NativeFiles();
    std::filesystem::path resultsFolder;

    // The count the total caption shows.
    long long Total() const;
    void Run(RunOptions options = {std::chrono::milliseconds(0)});

    std::string InputPathText() override { return inputText; }
    std::string LinesPerFileText() override { return linesPerFile; }
    bool StopRequested() override { return stopRequested; }
    void SetTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    std::string TotalCaption() override { return totalCaption; }
    void SetTotalCaption(std::string_view caption) override { totalCaption = caption; }
    void SetStartCaption(std::string_view caption) override { startCaption = caption; }
    void ShowMessage(std::string_view text, std::string_view title, MessageKind kind) override {
        messages.push_back({std::string(text), std::string(title), kind});
    }
    void ProcessPendingMessages() override;
    void Progress(std::uint64_t read, std::uint64_t) override { bytesRead = read; }
    CalendarDate Today() override { return today; }
    std::filesystem::path ResultsFolder() override { return resultsFolder; }
    FileSystem& Files() override { return *files; }
};

}  // namespace quenlo::test
