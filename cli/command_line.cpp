#include "cli/command_line.h"

#include "conversion/texts.h"

namespace quenlo {

const char* const kSplitUsage =
    "Usage: quenlo-split [--out DIR] INPUT [LINES_PER_FILE]\n"
    "Splits INPUT into numbered files of LINES_PER_FILE lines each (default 30000),\n"
    "named N-yyyy-mm-dd.txt, with the spaces at both ends of every line removed and\n"
    "every line ended by CR LF. Lines end at CR or CR LF. The files go to DIR, or to\n"
    "the folder \"转换结果\" beside this program.\n"
    "\n"
    "  --out DIR    write the numbered files to DIR (created if missing)\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 bad usage, 130 stopped by Ctrl-C.\n";

SplitCommand ParseSplitCommand(const std::vector<std::string>& arguments) {
    SplitCommand command;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            command.action = SplitCommand::Action::Help;
            return command;
        } else if (argument == "--version") {
            command.action = SplitCommand::Action::Version;
            return command;
        } else if (argument == "--out" && i + 1 < arguments.size()) {
            command.outputFolder = arguments[++i];
        } else if (argument.starts_with("--out=")) {
            command.outputFolder = argument.substr(6);
        } else {
            command.problem = "unknown option or missing value: " + argument;
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

}  // namespace quenlo
