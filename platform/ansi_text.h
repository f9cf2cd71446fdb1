// Between the UTF-8 texts of the job and the process ANSI code page of the A functions.
#pragma once

#include <string>
#include <string_view>

namespace quenlo {

// Both are plain copies when the ANSI code page is UTF-8.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// What the W functions return (command lines, system messages), as UTF-8.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace quenlo
