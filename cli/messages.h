// What quenlo-split says, in the run's language.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/command_line.h"
#include "cli/language.h"

namespace quenlo {

std::string HelpText(Language language);
// One line, without the program's name, for a command line that cannot run.
std::string UsageProblemText(const SplitCommand& command, Language language);
// limit: the number the files take, 0 when every line goes to file 1.
std::string OddLinesPerFileText(std::string_view text, std::int64_t limit, Language language);
// The input's first block has LF but no CR: LF ends its lines.
std::string LinesEndInLFText(std::string_view input, Language language);
std::string_view WarningPrefix(Language language);
std::string_view FinishedText(Language language);
std::string CannotWriteStandardOutputText(std::string_view reason, Language language);
// What the shutdown screen shows while a stopped run closes its files.
std::string_view SavingResultsText(Language language);

// The job's own texts (Chinese) in the run's language: a failure names the file in
// quotes, then the reason.
std::string JobText(std::string_view text, Language language);

}  // namespace quenlo
