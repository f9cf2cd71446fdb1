// The conversion job: splits the input named by the host into numbered files of
// N trimmed lines each.
#pragma once

#include <chrono>
#include <functional>

#include "conversion/conversion_host.h"

namespace quenlo {

struct RunOptions {
    // Work done between two pumps (messages, stop flag, N, date, flush, count). Zero
    // pumps after every line.
    std::chrono::milliseconds pumpInterval{15};
    // The clock the interval is measured on; empty: the steady clock.
    std::function<std::chrono::steady_clock::time_point()> clock = {};
};

// Returns when the input is exhausted (the host is told "finished"), when the host
// asks to stop (nothing is told), or after a failure (the host is told why).
void RunConversion(ConversionHost& host, const RunOptions& options = {});

}  // namespace quenlo
