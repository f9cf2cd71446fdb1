#include "cli/command_line.h"

#include "conversion/leading_number.h"
#include "conversion/texts.h"

namespace quenlo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

const char* const kSplitUsage =
    "Usage: quenlo-split [--out DIR] INPUT [LINES_PER_FILE]\n"
    "Splits INPUT into numbered files of LINES_PER_FILE lines each (default 30000),\n"
    "named N-yyyy-mm-dd.txt, with the spaces at both ends of every line removed and\n"
    "every line ended by CR LF. Lines end at CR or CR LF. The files go to DIR, or to\n"
    "the folder \"转换结果\" beside this program.\n"
    "\n"
    "INPUT \"-\" reads standard input.\n"
    "\n"
    "  --out DIR    write the numbered files to DIR (created if missing)\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 bad usage; stopped by Ctrl-C 130, by SIGTERM 143.\n";

SplitCommand ParseSplitCommand(const std::vector<std::string>& arguments) {
    SplitCommand command;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "-" is standard input, and "-5" a (bad) number of lines, not options.
        const bool negativeNumber = argument.size() >= 2 && argument[0] == '-' &&
                                    (IsDigit(argument[1]) || argument[1] == '.');
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
                command.problem = "--out needs a folder";
                return command;
            }
            command.outputFolder = arguments[++i];
        } else if (argument.starts_with("--out=")) {
            command.outputFolder = argument.substr(6);
        } else {
            command.problem = "unknown option " + argument;
            return command;
        }
    }
    if (positional.empty() || positional.size() > 2) {
        command.problem = positional.empty() ? "no input file" : "too many arguments";
        return command;
    }
    if (command.outputFolder && command.outputFolder->empty()) {
        command.problem = "--out needs a folder";
        return command;
    }
    command.action = SplitCommand::Action::Split;
    command.input = positional[0];
    command.linesPerFile =
        positional.size() == 2 ? positional[1] : std::string(kDefaultLinesPerFile);
    return command;
}

std::optional<std::string> LinesPerFileWarning(std::string_view text) {
    // Spaces at the ends do not change the number (the window drops them too).
    const std::size_t first = text.find_first_not_of(' ');
    const std::string_view number =
        first == std::string_view::npos
            ? std::string_view()
            : text.substr(first, text.find_last_not_of(' ') - first + 1);
    const bool digits =
        !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
    const std::int64_t limit = FileLimit(LeadingNumber(number));
    if (digits && limit >= 1) {
        return std::nullopt;
    }
    const std::string quoted = "LINES_PER_FILE \"" + std::string(text) + "\"";
    if (limit >= 1) {
        return quoted + " is read as " + std::to_string(limit);
    }
    return quoted + " is not a whole number from 1 on, so every line goes to file 1";
}

}  // namespace quenlo
