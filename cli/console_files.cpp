#include "cli/console_files.h"

#include "conversion/output_naming.h"

namespace quenlo {

std::unique_ptr<InputFile> ConsoleFiles::OpenForReading(const std::filesystem::path& file) {
    // A file really named "-" is still reached as "./-".
    if (file == PathFromUtf8(kStandardInputName)) {
        return native_.OpenStandardInput(file);
    }
    return native_.OpenForReading(file);
}

}  // namespace quenlo
