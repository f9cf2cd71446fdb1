// quenlo-split [--out DIR] INPUT [LINES_PER_FILE]
#pragma once

#include <optional>
#include <string>
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

extern const char* const kSplitUsage;

}  // namespace quenlo
