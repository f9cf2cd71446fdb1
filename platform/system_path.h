// Paths as the system's wide file calls take them, at any length.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quenlo {

// The path for a wide file call. Short enough for every call once made full, it goes
// as it is; longer, in the \\?\ form (\\?\UNC\server\share\... for a share), which
// lifts the MAX_PATH limit without the system-wide setting. That form is taken
// literally, so the path is made full first: relative parts resolved, "/" turned
// into "\". A path already in a \\?\ or \\.\ form goes as it is.
std::wstring SystemPath(const std::filesystem::path& path);

// The full path as the system reads the given one (against the current folder, "/"
// turned into "\", "." and ".." resolved); empty when it cannot make one.
std::wstring FullPath(std::wstring_view path);

}  // namespace quenlo
