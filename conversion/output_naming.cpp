#include "conversion/output_naming.h"

#include <cstdio>

namespace quenlo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Consumes at least minDigits digits from the front of s.
bool TakeDigits(std::string_view& s, std::size_t minDigits, std::size_t maxDigits) {
    std::size_t n = 0;
    while (n < s.size() && n < maxDigits && IsDigit(s[n])) {
        ++n;
    }
    if (n < minDigits) {
        return false;
    }
    s.remove_prefix(n);
    return true;
}

bool TakeChar(std::string_view& s, char c) {
    if (s.empty() || s.front() != c) {
        return false;
    }
    s.remove_prefix(1);
    return true;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string DateStamp(const CalendarDate& date) {
    char text[48];
    const int n =
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string OutputFileName(std::int64_t fileNumber, const CalendarDate& date) {
    return std::to_string(fileNumber) + "-" + DateStamp(date) + ".txt";
}

bool IsOutputFileName(std::string_view name) {
    // Windows matches ".TXT" to ".txt", so the extension is compared without case.
    if (name.empty() || name.front() == '0') {
        return false;
    }
    return TakeDigits(name, 1, std::string_view::npos) && TakeChar(name, '-') &&
           TakeDigits(name, 4, std::string_view::npos) && TakeChar(name, '-') &&
           TakeDigits(name, 2, 2) && TakeChar(name, '-') && TakeDigits(name, 2, 2) &&
           EqualsIgnoringAsciiCase(name, ".txt");
}

std::optional<std::string> InputBaseName(std::string_view inputPath) {
    const std::size_t separator = inputPath.find_last_of("\\/:");
    const std::size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t extension = inputPath.rfind(".txt");
    if (extension == std::string_view::npos || extension < start) {
        return std::nullopt;
    }
    return std::string(inputPath.substr(start, extension - start));
}

std::optional<std::string> CleanupFileName(std::string_view inputPath, const CalendarDate& date) {
    const std::optional<std::string> base = InputBaseName(inputPath);
    if (!base) {
        return std::nullopt;
    }
    std::string name = *base + "-" + DateStamp(date) + ".txt";
    if (IsOutputFileName(name)) {
        return std::nullopt;
    }
    return name;
}

std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace quenlo
