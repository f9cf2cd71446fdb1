#include "main_window/command_line_file.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/ansi_path.h"

namespace quenlo {
namespace {

// A path typed relative to the folder Quenlo was started in is made full now, as a
// picked one is: the file dialog may move the current folder before the start.
std::wstring FullPath(const wchar_t* path) {
    const DWORD size = GetFullPathNameW(path, 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size > 0 ? GetFullPathNameW(path, size, full.data(), nullptr) : 0;
    if (length == 0 || length >= size) {
        return path;
    }
    full.resize(length);
    return full;
}

}  // namespace

std::string FileFromCommandLine(std::wstring_view commandLine) {
    // The wide line: the ANSI one has already lost what the code page lacks. Several
    // files dropped on the icon: the first, as a drop on the window takes.
    const std::wstring line(commandLine);
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(line.c_str(), &count);
    if (arguments == nullptr) {
        return {};
    }
    std::string file;
    // An empty line gives the program's own path as its only argument: no file.
    if (count >= 2 && arguments[1][0] != L'\0') {
        file = PathForAnsiText(FullPath(arguments[1]));
    }
    LocalFree(arguments);
    return file;
}

}  // namespace quenlo
