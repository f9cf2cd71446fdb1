#include "platform/system_path.h"

#include <string_view>

#include <windows.h>

namespace quenlo {
namespace {

// CreateDirectoryW's own limit: MAX_PATH less room for an 8.3 name.
constexpr std::size_t kShortEnough = MAX_PATH - 12;

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The full path as the system would read the given one, or empty.
std::wstring FullPath(const std::wstring& path) {
    std::wstring full(path.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return {};
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // the size needed, with its terminating NUL
    }
}

}  // namespace

std::wstring SystemPath(const std::filesystem::path& path) {
    const std::wstring& given = path.native();
    if (given.size() < kShortEnough || StartsWith(given, L"\\\\?\\") ||
        StartsWith(given, L"\\\\.\\")) {
        return given;
    }
    const std::wstring full = FullPath(given);
    if (full.empty() || StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) {
        return full.empty() ? given : full;  // the call then says what is wrong
    }
    if (StartsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

}  // namespace quenlo
