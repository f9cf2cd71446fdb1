// A file handed to Quenlo.exe: "Open with", a file dropped on the program or on a
// shortcut to it, or a path typed after its name.
#pragma once

#include <string>
#include <string_view>

namespace quenlo {

// The first argument after the program's own name, in UTF-8 and spelled so that the
// import box keeps it; empty when there is none.
std::string FileFromCommandLine(std::wstring_view commandLine);

}  // namespace quenlo
