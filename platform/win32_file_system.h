// Files for the job on Windows: wide-path calls, so no name is lost to the ANSI code
// page; reasons in the system's own words.
#pragma once

#include "conversion/conversion_host.h"

namespace quenlo {

class Win32FileSystem final : public FileSystem {
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

// A file's identity from its 128-bit id (FILE_ID_INFO's bytes) and 64-bit volume
// serial number. Nothing for an id of all zeros (a file system without 128-bit ids)
// or all ones (a file without a unique one): that id names no file.
std::optional<FileIdentity> IdentityFromFileId(std::uint64_t volume,
                                               const unsigned char (&id)[16]);

// The system's text for an error code, in UTF-8, without the trailing line break.
std::string SystemErrorText(unsigned long error);
// The language of those texts (a LANGID) where the system has it; 0, the default,
// lets the system choose.
void SetSystemErrorLanguage(unsigned short language);

}  // namespace quenlo
