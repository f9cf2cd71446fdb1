#include "cli/console_files.h"

#include <system_error>

#include "conversion/output_naming.h"

namespace quenlo {
namespace {

// Counts what passes; the reads may come from the job's read-ahead thread.
class CountedInput final : public InputFile {
public:
    CountedInput(std::unique_ptr<InputFile> input, std::atomic<std::uint64_t>& count)
        : input_(std::move(input)), count_(count) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = input_->Read(buffer, size);
        count_ += n;
        return n;
    }
    std::optional<FileIdentity> Identity() const override { return input_->Identity(); }
    void CancelRead() override { input_->CancelRead(); }

private:
    std::unique_ptr<InputFile> input_;
    std::atomic<std::uint64_t>& count_;
};

}  // namespace

std::unique_ptr<InputFile> ConsoleFiles::OpenForReading(const std::filesystem::path& file) {
    bytesRead_ = 0;
    inputSize_.reset();
    // A file really named "-" is still reached as "./-".
    if (file == PathFromUtf8(kStandardInputName)) {
        return std::make_unique<CountedInput>(native_.OpenStandardInput(file), bytesRead_);
    }
    auto input = std::make_unique<CountedInput>(native_.OpenForReading(file), bytesRead_);
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error)) {
        const std::uintmax_t size = std::filesystem::file_size(file, error);
        if (!error) {
            inputSize_ = size;
        }
    }
    return input;
}

}  // namespace quenlo
