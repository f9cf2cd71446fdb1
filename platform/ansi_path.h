// A path handed over in UTF-16 (a command line, a drop) that must live in an ANSI text
// box, as the file dialog's paths do.
#pragma once

#include <string>
#include <string_view>

namespace quenlo {

// The path in UTF-8, spelled so that the process ANSI code page keeps it: as given
// when it can, else its short (8.3) form where the volume has one that can; else as
// given, and the characters the code page lacks are lost (opening it then fails,
// naming the path).
std::string PathForAnsiText(std::wstring_view path);

}  // namespace quenlo
