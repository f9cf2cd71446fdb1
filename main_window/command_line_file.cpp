#include "main_window/command_line_file.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/ansi_path.h"

namespace quenlo {

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
        file = PathForAnsiText(arguments[1]);
    }
    LocalFree(arguments);
    return file;
}

}  // namespace quenlo
