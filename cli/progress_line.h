// The progress line a terminal shows while a run goes on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/language.h"

namespace quenlo {

struct ProgressFigures {
    std::string lines;   // the count as the job shows it
    double seconds = 0;  // since the run started
    std::uint64_t bytesRead = 0;
    std::optional<std::uint64_t> inputSize;  // empty for a pipe
};

// "总共处理行数：N    S 秒", and for an input of known size the percentage, the rate
// and the time left as soon as there is a rate to go by.
std::string ProgressLine(const ProgressFigures& progress, Language language);

}  // namespace quenlo
