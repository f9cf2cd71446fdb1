// The conversion job: splits the input named by the host into numbered files of
// N trimmed lines each.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

#include "conversion/conversion_host.h"

namespace quenlo {

struct RunOptions {
    // Work done between two pumps (messages, stop flag, N, date, flush, count). Zero
    // pumps after every line.
    std::chrono::milliseconds pumpInterval{15};
    // The clock the interval is measured on; empty: the steady clock.
    std::function<std::chrono::steady_clock::time_point()> clock = {};
    // How long a stop waits for a read that does not let go when cancelled (a share
    // whose server has gone) before it leaves that read behind; on the clock above.
    std::chrono::milliseconds readPatience{2000};
    // Bytes read at a time, and the size of the output buffer.
    std::size_t blockSize = std::size_t{1} << 20;

    // The window's rules. A command line turns them around: its INPUT arrives
    // exactly as typed, its --out may name any folder of the user's (where a file
    // named after the input is the user's own), --out a/b/c makes what is missing,
    // and a run whose input cannot be opened leaves no folder behind.
    bool trimInputPath = true;         // Text4's spaces at both ends are not part of it
    bool removeCleanupFile = true;     // the earlier file named after the input goes
    bool createParentFolders = false;  // only the results folder itself is created
    bool folderBeforeInput = true;     // the results folder is made before the input opens
};

// Returns when the input is exhausted (the host is told "finished"), when the host
// asks to stop (nothing is told), or after a failure (the host is told why).
void RunConversion(ConversionHost& host, const RunOptions& options = {});

}  // namespace quenlo
