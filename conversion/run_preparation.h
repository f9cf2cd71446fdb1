// Everything a run does before its first line: the results folder, the input
// opened, the refusal of an input that is one of the results, and the removal of
// the clean-up file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "conversion/conversion_host.h"
#include "conversion/run_conversion.h"

namespace quenlo {

// A failure that ends the run, with the text the user is shown.
struct RunFailure {
    std::string message;
    bool outputBroken;  // the buffered output cannot be written any more
};

// what「file」：reason
std::string Describe(std::string_view what, const std::filesystem::path& file,
                     std::string_view reason);

std::string_view TrimSpaces(std::string_view text);

// The input, open and ready for its first read.
struct PreparedInput {
    std::unique_ptr<InputFile> file;
    std::optional<FileIdentity> identity;
    std::optional<std::uint64_t> length;
};

// Throws RunFailure, with nothing written, when the run cannot start.
PreparedInput PrepareRun(ConversionHost& host, const RunOptions& options);

}  // namespace quenlo
