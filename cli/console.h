// The console around quenlo-split: its arguments, its output, and Ctrl-C.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenlo {

// The arguments in UTF-8 (on Windows from the wide command line, so no name is lost
// to the ANSI code page).
std::vector<std::string> CommandArguments(int argc, char** argv);

enum class Stream { Out, Err };
void WriteText(Stream stream, std::string_view utf8);
bool IsTerminal(Stream stream);

// Ctrl-C and Ctrl-Break set a flag instead of ending the process.
void InstallStopHandler();
bool StopSignalled();

}  // namespace quenlo
