// The input path as Text4 holds it. Explorer's "Copy as path" pastes it wrapped in
// double quotes; a Windows path can never contain one, so a single pair around the
// whole text (spaces outside it aside) is taken off. Anything else stays as typed.
#pragma once

#include <string_view>

namespace quenlo {

constexpr std::string_view UnquotedPath(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return text;
    }
    const std::string_view inner = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (inner.size() < 2 || inner.front() != '"' || inner.back() != '"') {
        return text;
    }
    const std::string_view path = inner.substr(1, inner.size() - 2);
    return path.find('"') == std::string_view::npos ? path : text;
}

}  // namespace quenlo
