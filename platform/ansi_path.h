// A path handed over in UTF-16 (a command line, a drop) that must live in an ANSI text
// box, as the file dialog's paths do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenlo {

// The path in UTF-8, spelled so that the process ANSI code page keeps it: as given
// when it can, else its short (8.3) form where the volume has one that can. Nothing
// when neither can: a volume without short names (ReFS, 8.3 names turned off) gives
// back the long name, and the characters the code page lacks would be lost.
std::optional<std::string> PathForAnsiText(std::wstring_view path);

}  // namespace quenlo
