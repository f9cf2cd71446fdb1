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

void FaultingFileSystem::Arm(FileCall call, int nth, Fault fault) {
    calls = {};
    struck = false;
    struckFile.clear();
    bytesBefore = 0;
    armedCall_ = call;
    armedAt_ = nth;
    fault_ = fault;
}

bool FaultingFileSystem::Strikes(FileCall call, const std::filesystem::path& file) {
    if (++calls[static_cast<int>(call)] != armedAt_ || call != armedCall_) {
        return false;
    }
    struck = true;
    struckFile = file;
    return true;
}

class FaultingFileSystem::Input final : public ForwardingInput {
public:
    Input(FaultingFileSystem& owner, std::filesystem::path path, std::unique_ptr<InputFile> real)
        : ForwardingInput(std::move(real)), owner_(owner), path_(std::move(path)) {
        length_ = std::filesystem::file_size(path_);
    }
    std::size_t Read(char* buffer, std::size_t size) override {
        if (owner_.Strikes(FileCall::Read, path_)) {
            owner_.bytesBefore = read_;
            switch (owner_.fault_) {
                case Fault::Error:
                    throw FileError(path_, std::string(kInjectedFailure));
                // Odd counts, so that 16-bit units are cut in two.
                case Fault::ShortRead:
                    size = size / 2 | 1;
                    break;
                case Fault::Shrink:
                    owner_.bytesBefore += std::min<std::uint64_t>(size, length_ - read_) / 2 | 1;
                    owner_.struck = owner_.bytesBefore < length_;  // nothing to cut at the end
                    if (owner_.struck) {
                        std::filesystem::resize_file(path_, owner_.bytesBefore);
                    }
                    break;
            }
        }
        const std::size_t n = ForwardingInput::Read(buffer, size);
        read_ += n;
        return n;
    }
    std::optional<FileIdentity> Identity() const override {
        return owner_.Strikes(FileCall::Identity, path_) ? std::nullopt
                                                         : ForwardingInput::Identity();
    }
    std::optional<std::uint64_t> Length() const override { return length_; }

private:
    FaultingFileSystem& owner_;
    std::filesystem::path path_;
    std::uint64_t length_ = 0;
    std::uint64_t read_ = 0;
};

class FaultingFileSystem::Output final : public OutputFile {
public:
    Output(FaultingFileSystem& owner, std::filesystem::path path, std::unique_ptr<OutputFile> real)
        : owner_(owner), path_(std::move(path)), real_(std::move(real)) {}
    std::uint64_t SizeAtOpen() const override { return real_->SizeAtOpen(); }
    void Write(const char* data, std::size_t size) override {
        if (owner_.Strikes(FileCall::Write, path_)) {
            real_->Write(data, size / 2);  // as a full disk does: part, then the error
            throw FileError(path_, std::string(kInjectedFailure));
        }
        real_->Write(data, size);
    }
    void Truncate(std::uint64_t size) override {
        if (owner_.Strikes(FileCall::Truncate, path_)) {
            throw FileError(path_, std::string(kInjectedFailure));
        }
        real_->Truncate(size);
    }
    void Close() override {
        real_->Close();
        if (owner_.Strikes(FileCall::Close, path_)) {
            throw FileError(path_, std::string(kInjectedFailure));
        }
    }

private:
    FaultingFileSystem& owner_;
    std::filesystem::path path_;
    std::unique_ptr<OutputFile> real_;
};

std::unique_ptr<InputFile> FaultingFileSystem::OpenForReading(const std::filesystem::path& file) {
    if (Strikes(FileCall::OpenInput, file)) {
        throw FileError(file, std::string(kInjectedFailure));
    }
    return std::make_unique<Input>(*this, file, NativeFiles().OpenForReading(file));
}

std::unique_ptr<OutputFile> FaultingFileSystem::OpenForAppending(
    const std::filesystem::path& file) {
    if (Strikes(FileCall::OpenOutput, file)) {
        throw FileError(file, std::string(kInjectedFailure));
    }
    return std::make_unique<Output>(*this, file, NativeFiles().OpenForAppending(file));
}

void FaultingFileSystem::CreateFolder(const std::filesystem::path& folder) {
    if (Strikes(FileCall::CreateFolder, folder)) {
        throw FileError(folder, std::string(kInjectedFailure));
    }
    NativeFiles().CreateFolder(folder);
}

std::optional<FileIdentity> FaultingFileSystem::Identity(const std::filesystem::path& file) {
    return Strikes(FileCall::Identity, file) ? std::nullopt : NativeFiles().Identity(file);
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
