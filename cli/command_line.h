// quenlo-split [--out DIR] [--] INPUT [LINES_PER_FILE]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlo {

struct SplitCommand {
    enum class Action { Split, Help, Version, Usage };
    enum class Problem { None, OutNeedsFolder, UnknownOption, NoInput, TooManyArguments };
    Action action = Action::Usage;
    std::string input;
    std::string linesPerFile;
    std::optional<std::string> outputFolder;
    Problem problem = Problem::None;  // for Usage: what was wrong, if anything
    std::string unknownOption;
};

// Arguments in UTF-8, without the program name.
SplitCommand ParseSplitCommand(const std::vector<std::string>& arguments);

// How LINES_PER_FILE is read when it is not a plain whole number from 1 on: the run
// goes ahead by the window's rules, but the user may have meant otherwise. Empty
// for a plain number; else the number the files take (0: every line goes to file 1).
std::optional<std::int64_t> OddLinesPerFile(std::string_view text);

}  // namespace quenlo
