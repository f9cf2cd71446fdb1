// Files for the job on Linux: plain POSIX calls, reasons from strerror.
#pragma once

#include "conversion/conversion_host.h"

namespace quenlo {

class PosixFileSystem final : public FileSystem {
public:
    // Standard input as the job's input; errors name it by name.
    std::unique_ptr<InputFile> OpenStandardInput(const std::filesystem::path& name);

    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override;
    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override;
    bool Exists(const std::filesystem::path& path) override;
    void CreateFolder(const std::filesystem::path& folder) override;
    std::vector<std::filesystem::path> FolderEntries(const std::filesystem::path& folder) override;
    bool Remove(const std::filesystem::path& file) override;
    std::optional<FileIdentity> Identity(const std::filesystem::path& file) override;
};

}  // namespace quenlo
