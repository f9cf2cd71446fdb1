// The platform's files as quenlo-split sees them: INPUT "-" is standard input.
#pragma once

#include "conversion/conversion_host.h"

#ifdef _WIN32
#include "platform/win32_file_system.h"
#else
#include "platform/posix_file_system.h"
#endif

namespace quenlo {

inline constexpr std::string_view kStandardInputName = "-";

class ConsoleFiles final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override;
    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override {
        return native_.OpenForAppending(file);
    }
    bool Exists(const std::filesystem::path& path) override { return native_.Exists(path); }
    void CreateFolder(const std::filesystem::path& folder) override {
        native_.CreateFolder(folder);
    }
    std::vector<std::filesystem::path> FolderEntries(const std::filesystem::path& folder) override {
        return native_.FolderEntries(folder);
    }
    bool Remove(const std::filesystem::path& file) override { return native_.Remove(file); }
    std::optional<FileIdentity> Identity(const std::filesystem::path& file) override {
        return native_.Identity(file);
    }

private:
#ifdef _WIN32
    Win32FileSystem native_;
#else
    PosixFileSystem native_;
#endif
};

}  // namespace quenlo
