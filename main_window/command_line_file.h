// A file handed to Quenlo.exe: "Open with", a file dropped on the program or on a
// shortcut to it, or a path typed after its name.
#pragma once

#include <string>
#include <string_view>

namespace quenlo {

// The first argument after the program's own name, made full; empty when there is
// none. In UTF-16: the ANSI command line has already lost what the code page lacks.
std::wstring FileFromCommandLine(std::wstring_view commandLine);

}  // namespace quenlo
