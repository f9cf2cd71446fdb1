#include "cli/command_line.h"

#include "conversion/leading_number.h"
#include "conversion/texts.h"

namespace quenlo {

SplitCommand ParseSplitCommand(const std::vector<std::string>& arguments) {
    SplitCommand command;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "-" is standard input, and "-5", "-.5" or "- 1e3" a (bad) number of lines
        // read by the same rule as every number, not options.
        const bool negativeNumber =
            argument.size() >= 2 && argument[0] == '-' && BeginsWithNumber(argument);
        if (optionsEnded || argument.size() < 2 || argument[0] != '-' || negativeNumber) {
            positional.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            command.action = SplitCommand::Action::Help;
            return command;
        } else if (argument == "--version") {
            command.action = SplitCommand::Action::Version;
            return command;
        } else if (argument == "--out") {
            if (i + 1 == arguments.size()) {
                command.problem = SplitCommand::Problem::OutNeedsFolder;
                return command;
            }
            command.outputFolder = arguments[++i];
        } else if (argument.starts_with("--out=")) {
            command.outputFolder = argument.substr(6);
        } else {
            command.problem = SplitCommand::Problem::UnknownOption;
            command.unknownOption = argument;
            return command;
        }
    }
    if (positional.empty() || positional.size() > 2) {
        command.problem = positional.empty() ? SplitCommand::Problem::NoInput
                                             : SplitCommand::Problem::TooManyArguments;
        return command;
    }
    if (command.outputFolder && command.outputFolder->empty()) {
        command.problem = SplitCommand::Problem::OutNeedsFolder;
        return command;
    }
    command.action = SplitCommand::Action::Split;
    command.input = positional[0];
    command.linesPerFile =
        positional.size() == 2 ? positional[1] : std::string(kDefaultLinesPerFile);
    return command;
}

std::optional<std::int64_t> OddLinesPerFile(std::string_view text) {
    // Spaces at the ends do not change the number (the window drops them too).
    const std::size_t first = text.find_first_not_of(' ');
    const std::string_view number =
        first == std::string_view::npos
            ? std::string_view()
            : text.substr(first, text.find_last_not_of(' ') - first + 1);
    const bool digits =
        !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
    const double value = LeadingNumber(number);
    // Plain digits mean what they say, also beyond any count a file reaches: every
    // line then goes to file 1, as asked, and that is no whole number gone wrong.
    if (digits && value >= 1) {
        return std::nullopt;
    }
    const std::int64_t limit = FileLimit(value);
    return limit >= 1 ? limit : 0;
}

}  // namespace quenlo
