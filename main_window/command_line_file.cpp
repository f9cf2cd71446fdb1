#include "main_window/command_line_file.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/system_path.h"

namespace quenlo {

std::wstring FileFromCommandLine(std::wstring_view commandLine) {
    // Several files dropped on the icon: the first, as a drop on the window takes.
    const std::wstring line(commandLine);
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(line.c_str(), &count);
    if (arguments == nullptr) {
        return {};
    }
    std::wstring file;
    // An empty line gives the program's own path as its only argument: no file.
    if (count >= 2 && arguments[1][0] != L'\0') {
        // A path typed relative to the folder Quenlo was started in is made full now,
        // as a picked one is: the file dialog may move the current folder before the
        // start.
        file = FullPath(arguments[1]);
        if (file.empty()) {
            file = arguments[1];
        }
    }
    LocalFree(arguments);
    return file;
}

}  // namespace quenlo
