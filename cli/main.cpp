// quenlo-split: splits a text file into numbered files of a fixed number of lines.
#include <exception>
#include <string>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/console_host.h"
#include "cli/messages.h"
#include "conversion/output_naming.h"
#include "conversion/run_conversion.h"
#include "conversion/texts.h"
#ifdef _WIN32
#include "platform/system_library.h"
#endif

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Split(const quenlo::SplitCommand& command, quenlo::Language language) {
    using namespace quenlo;
    // Like every command-line tool: where it is run, not where it is installed.
    const std::filesystem::path results =
        PathFromUtf8(command.outputFolder.value_or(std::string(kResultsFolderName)));
    ConsoleHost host(command.input, command.linesPerFile, results, IsTerminal(Stream::Err),
                     language);
    if (const auto limit = OddLinesPerFile(command.linesPerFile)) {
        host.Warn(OddLinesPerFileText(command.linesPerFile, *limit, language));
    }
    InstallStopHandler(SavingResultsText(language));
    // INPUT arrives exactly as the shell gave it, --out may name any folder of the
    // user's (where a file named after the input is the user's own, never deleted),
    // --out a/b/c makes what is missing, and a run that cannot open its input leaves
    // no folder behind.
    RunOptions options;
    options.folderBeforeInput = false;
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
        WriteText(Stream::Err,
                  "quenlo-split: " + CannotWriteStandardOutputText(*failure, language) + "\n");
        return kExitFailed;
    }
    return kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quenlo;
#ifdef _WIN32
    // Before anything can load a DLL on the program's behalf.
    RestrictDllSearchToSystem();
#endif
    const Language language = ConsoleLanguage();
    UseLanguageForSystemReasons(language);
    const SplitCommand command = ParseSplitCommand(CommandArguments(argc, argv));
    switch (command.action) {
        case SplitCommand::Action::Help:
            WriteText(Stream::Out, HelpText(language));
            return kExitDone;
        case SplitCommand::Action::Version:
            WriteText(Stream::Out, std::string("quenlo-split ") + QUENLO_VERSION + "\n");
            return kExitDone;
        case SplitCommand::Action::Usage:
            WriteText(Stream::Err, "quenlo-split: " + UsageProblemText(command, language) + "\n");
            return kExitUsage;
        case SplitCommand::Action::Split:
            break;
    }
    try {
        return Split(command, language);
    } catch (const std::exception& e) {
        WriteText(Stream::Err, std::string("quenlo-split: ") + e.what() + "\n");
        return kExitFailed;
    }
}
