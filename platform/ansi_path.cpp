#include "platform/ansi_path.h"

#include <windows.h>

#include "platform/ansi_text.h"

namespace quenlo {
namespace {

bool AnsiKeeps(std::wstring_view path) {
    BOOL lost = FALSE;
    const int length = static_cast<int>(path.size());
    // WC_NO_BEST_FIT_CHARS: a look-alike stand-in would name another file.
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), length, nullptr, 0,
                               nullptr, &lost) > 0 &&
           !lost;
}

}  // namespace

std::optional<std::string> PathForAnsiText(std::wstring_view path) {
    if (path.empty() || GetACP() == CP_UTF8 || AnsiKeeps(path)) {
        return Utf8FromWide(path);
    }
    const std::wstring full(path);
    const DWORD size = GetShortPathNameW(full.c_str(), nullptr, 0);
    if (size > 0) {
        std::wstring shortPath(size, L'\0');
        const DWORD length = GetShortPathNameW(full.c_str(), shortPath.data(), size);
        shortPath.resize(length < size ? length : 0);
        if (!shortPath.empty() && AnsiKeeps(shortPath)) {
            return Utf8FromWide(shortPath);
        }
    }
    return std::nullopt;
}

}  // namespace quenlo
