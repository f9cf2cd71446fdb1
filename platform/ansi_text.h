// Between the UTF-8 texts of the job and the process ANSI code page of the A functions,
// and the UTF-16 of the W functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quenlo {

// Both are plain copies when the ANSI code page is UTF-8.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// What the W functions return (command lines, system messages), as UTF-8.
std::string Utf8FromWide(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);

// A window's text as the W functions read it, whatever the ANSI code page.
std::wstring WindowTextOf(HWND window);

}  // namespace quenlo
