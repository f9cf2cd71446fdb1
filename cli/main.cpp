// quenlo-split: splits a text file into numbered files of a fixed number of lines.
#include <exception>
#include <string>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/console_host.h"
#include "conversion/output_naming.h"
#include "conversion/run_conversion.h"
#include "conversion/texts.h"
#include "platform/program_folder.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Split(const quenlo::SplitCommand& command) {
    using namespace quenlo;
    const std::filesystem::path results = command.outputFolder
                                              ? PathFromUtf8(*command.outputFolder)
                                              : ProgramFolder() / PathFromUtf8(kResultsFolderName);
    ConsoleHost host(command.input, command.linesPerFile, results, IsTerminal(Stream::Err));
    if (const auto warning = LinesPerFileWarning(command.linesPerFile)) {
        host.Warn(*warning);
    }
    InstallStopHandler();
    // INPUT arrives exactly as the shell gave it, --out may name any folder of the
    // user's (where a file named after the input is the user's own, never deleted),
    // and --out a/b/c makes what is missing.
    RunOptions options;
    options.trimInputPath = false;
    options.removeCleanupFile = false;
    options.createParentFolders = true;
    RunConversion(host, options);
    RunEnded();
    if (host.Failed()) {
        return kExitFailed;
    }
    if (!host.Finished()) {
        host.EndProgress();
        return StoppedExitStatus();
    }
    if (const auto& failure = host.OutputFailure()) {
        WriteText(Stream::Err, "quenlo-split: cannot write to standard output: " + *failure + "\n");
        return kExitFailed;
    }
    return kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quenlo;
    const SplitCommand command = ParseSplitCommand(CommandArguments(argc, argv));
    switch (command.action) {
        case SplitCommand::Action::Help:
            WriteText(Stream::Out, kSplitUsage);
            return kExitDone;
        case SplitCommand::Action::Version:
            WriteText(Stream::Out, std::string("quenlo-split ") + QUENLO_VERSION + "\n");
            return kExitDone;
        case SplitCommand::Action::Usage:
            WriteText(Stream::Err,
                      "quenlo-split: " + command.problem + "; see quenlo-split --help\n");
            return kExitUsage;
        case SplitCommand::Action::Split:
            break;
    }
    try {
        return Split(command);
    } catch (const std::exception& e) {
        WriteText(Stream::Err, std::string("quenlo-split: ") + e.what() + "\n");
        return kExitFailed;
    }
}
