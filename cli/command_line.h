// quenlo-split [--out DIR] INPUT [LINES_PER_FILE]
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlo {

struct SplitCommand {
    enum class Action { Split, Help, Version, Usage };
    Action action = Action::Usage;
    std::string input;
    std::string linesPerFile;
    std::optional<std::string> outputFolder;
    std::string problem;  // for Usage: what was wrong, if anything
};

// Arguments in UTF-8, without the program name.
SplitCommand ParseSplitCommand(const std::vector<std::string>& arguments);

// How LINES_PER_FILE is read, when it is not a plain whole number from 1 on: the
// run goes ahead by the window's rules, but the user may have meant otherwise.
std::optional<std::string> LinesPerFileWarning(std::string_view text);

extern const char* const kSplitUsage;

}  // namespace quenlo
