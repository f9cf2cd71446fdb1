#include "cli/console_files.h"

#include "conversion/output_naming.h"
#include "conversion/texts.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/system_path.h"
#endif

namespace quenlo {

std::unique_ptr<InputFile> ConsoleFiles::OpenForReading(const std::filesystem::path& file) {
    // A file really named "-" is still reached as "./-".
    if (file == PathFromUtf8(kStandardInputName)) {
        return native_.OpenStandardInput(file);
    }
#ifdef _WIN32
    try {
        return native_.OpenForReading(file);
    } catch (const FileError&) {
        // Windows opens no folder as a file and only says "access denied" for it,
        // which sends the user looking at permissions.
        const DWORD attributes = GetFileAttributesW(SystemPath(file).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            throw FileError(file, std::string(kInputIsFolder));
        }
        throw;
    }
#else
    return native_.OpenForReading(file);
#endif
}

}  // namespace quenlo
