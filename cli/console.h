// The console around quenlo-split: its arguments, its output, and the signals that
// stop a run.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlo {

// The arguments in UTF-8 (on Windows from the wide command line, so no name is lost
// to the ANSI code page).
std::vector<std::string> CommandArguments(int argc, char** argv);

enum class Stream { Out, Err };
// Writes UTF-8 text; returns the system's reason when it could not be written.
std::optional<std::string> WriteText(Stream stream, std::string_view utf8);
bool IsTerminal(Stream stream);

// Ctrl-C, Ctrl-Break, SIGTERM, SIGHUP, the console's close and, on Windows, the end of
// the session (sign-out, shutdown, restart) stop the run instead of ending the process
// where it stands. savingText: what the shutdown screen shows while the run closes its
// files.
void InstallStopHandler(std::string_view savingText);
bool StopSignalled();
// The exit status a shell gives a process ended by the signal that stopped the run
// (130 for Ctrl-C, 143 for SIGTERM).
int StoppedExitStatus();
// The run has ended and its files are closed: a console that is being closed may
// now take the process down.
void RunEnded();

}  // namespace quenlo
