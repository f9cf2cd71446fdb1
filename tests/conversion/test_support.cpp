#include "test_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "conversion/leading_number.h"
#include "conversion/output_naming.h"
#include "conversion/texts.h"

#ifdef _WIN32
#include "platform/win32_file_system.h"
#else
#include "platform/posix_file_system.h"
#endif

namespace quenlo::test {

ScratchFolder::ScratchFolder() {
    // Test processes run in parallel: the clock keeps their folders apart.
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            U8("quenlo-测试-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + Utf8(file));
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + Utf8(file));
    }
}

std::filesystem::path U8(std::string_view utf8) {
    return PathFromUtf8(utf8);
}
std::string Utf8(const std::filesystem::path& path) {
    return Utf8FromPath(path);
}

FileSystem& NativeFiles() {
#ifdef _WIN32
    static Win32FileSystem files;
#else
    static PosixFileSystem files;
#endif
    return files;
}

FakeHost::FakeHost(std::filesystem::path input, std::filesystem::path results)
    : inputText(Utf8(input)), resultsFolder(std::move(results)) {}

long long FakeHost::Total() const {
    std::string rest = totalCaption;
    if (rest.starts_with(kTotalPrefix)) {
        rest.erase(0, kTotalPrefix.size());
    }
    return static_cast<long long>(LeadingNumber(rest));
}

class StallingFiles::Input final : public ForwardingInput {
public:
    Input(StallingFiles& owner, std::unique_ptr<InputFile> real)
        : ForwardingInput(std::move(real)), owner_(owner) {}
    ~Input() override {
        std::lock_guard<std::mutex> lock(owner_.mutex_);
        --owner_.openInputs_;
        owner_.changed_.notify_all();
    }

    std::size_t Read(char* buffer, std::size_t size) override {
        std::unique_lock<std::mutex> lock(owner_.mutex_);
        // A pipe once cancelled stays so; a disk file reads on.
        if (owner_.cancelled_ && !owner_.length && !owner_.ignoresCancel) {
            owner_.stallCancelled_ |= owner_.before.empty() && !stalled_;
            throw ReadCancelled();
        }
        if (owner_.before.empty() && !stalled_) {
            stalled_ = owner_.stalled_ = true;
            const bool ended = owner_.changed_.wait_for(lock, std::chrono::seconds(10), [&] {
                return owner_.ignoresCancel ? owner_.released_ : owner_.cancelled_;
            });
            owner_.stalled_ = false;
            if (ended && !owner_.ignoresCancel) {
                owner_.stallCancelled_ = true;
                throw ReadCancelled();
            }
        }
        std::string& source = owner_.before.empty() ? owner_.after : owner_.before;
        const std::size_t n = std::min(size, source.size());
        source.copy(buffer, n);
        source.erase(0, n);
        return n;
    }
    std::optional<std::uint64_t> Length() const override { return owner_.length; }
    void CancelRead() override {
        std::lock_guard<std::mutex> lock(owner_.mutex_);
        owner_.cancelled_ = true;
        owner_.changed_.notify_all();
    }

private:
    StallingFiles& owner_;
    bool stalled_ = false;
};

StallingFiles::~StallingFiles() {
    Release();  // a read left behind by a failed test must not outlive its owner
    InputsClosed();
}

std::unique_ptr<InputFile> StallingFiles::OpenForReading(const std::filesystem::path& file) {
    auto input = std::make_unique<Input>(*this, NativeFiles().OpenForReading(file));
    std::lock_guard<std::mutex> lock(mutex_);
    ++openInputs_;
    return input;
}

std::unique_ptr<OutputFile> StallingFiles::OpenForAppending(const std::filesystem::path& file) {
    class FullDisk final : public OutputFile {
    public:
        explicit FullDisk(std::filesystem::path path) : path_(std::move(path)) {}
        std::uint64_t SizeAtOpen() const override { return 0; }
        std::string LastBytesAtOpen() const override { return {}; }
        void Write(const char*, std::size_t) override { throw FileError(path_, "disk full"); }
        void Truncate(std::uint64_t) override {}
        void Close() override {}

    private:
        std::filesystem::path path_;
    };
    if (diskFull) {
        return std::make_unique<FullDisk>(file);
    }
    return ForwardingFileSystem::OpenForAppending(file);
}

bool StallingFiles::StallCancelled() {
    std::lock_guard<std::mutex> lock(mutex_);
    return stallCancelled_;
}

bool StallingFiles::Stalled() {
    std::lock_guard<std::mutex> lock(mutex_);
    return stalled_;
}

void StallingFiles::Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

bool StallingFiles::InputsClosed() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return openInputs_ == 0; });
}

void FakeHost::Run(RunOptions options) {
    timerEnabled = false;
    RunConversion(*this, options);
}

void FakeHost::ProcessPendingMessages() {
    ++pumps;
    if (onPump) {
        onPump(*this);
    }
}

std::string Utf16LE(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string Utf16BE(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

}  // namespace quenlo::test
