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

}  // namespace

std::wstring FullPath(std::wstring_view path) {
    const std::wstring given(path);
    std::wstring full(given.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
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

std::wstring SystemPath(const std::filesystem::path& path) {
    const std::wstring& given = path.native();
    if (StartsWith(given, L"\\\\?\\") || StartsWith(given, L"\\\\.\\")) {
        return given;
    }
    // The length that counts is the full path's: a relative path is read against the
    // current folder and held to MAX_PATH as a whole, and the \\?\ form takes no
    // relative path.
    const std::wstring full = FullPath(given);
    if (full.empty()) {
        return given;  // the call then says what is wrong
    }
    if (full.size() < kShortEnough) {
        return given.size() < kShortEnough ? given : full;
    }
    if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) {
        return full;
    }
    if (StartsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

}  // namespace quenlo
