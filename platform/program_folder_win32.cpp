#include "platform/program_folder.h"

#include <string>

#include <windows.h>

namespace quenlo {

std::filesystem::path ProgramFolder() {
    // The wide call: a program folder with characters outside the ANSI code page works.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return std::filesystem::current_path();
        }
        if (length < size) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace quenlo
