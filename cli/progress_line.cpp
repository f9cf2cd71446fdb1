#include "cli/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "conversion/texts.h"

namespace quenlo {
namespace {

std::string Printed(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// 42 s; 3:07; 1:02:03.
std::string Duration(std::uint64_t seconds, Language language) {
    if (seconds < 60) {
        return std::to_string(seconds) + std::string(Say(language, kSecondsSuffix, " s"));
    }
    char text[32];
    const unsigned long long hours = seconds / 3600, minutes = seconds / 60 % 60,
                             rest = seconds % 60;
    if (hours > 0) {
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", hours, minutes, rest);
    } else {
        std::snprintf(text, sizeof text, "%llu:%02llu", minutes, rest);
    }
    return text;
}

}  // namespace

std::string ProgressLine(const ProgressFigures& progress, Language language) {
    const auto wholeSeconds = static_cast<std::uint64_t>(std::max(progress.seconds, 0.0));
    std::string line = std::string(Say(language, kTotalPrefix, "lines: ")) + progress.lines +
                       "    " + std::to_string(wholeSeconds) +
                       std::string(Say(language, kSecondsSuffix, " s"));
    if (!progress.inputSize) {
        return line;
    }
    const std::uint64_t size = *progress.inputSize;
    // A file that grows while it is read stays at 100%.
    const std::uint64_t done = std::min(progress.bytesRead, size);
    const double fraction = size == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(size);
    line += "    " + std::to_string(static_cast<int>(fraction * 100)) + "%";
    if (progress.seconds >= 1 && done > 0) {
        const double rate = static_cast<double>(done) / progress.seconds;
        line +=
            "    " + Printed("%.1f", rate / 1e6) + std::string(Say(language, " MB/秒", " MB/s"));
        const auto left =
            static_cast<std::uint64_t>(std::ceil(static_cast<double>(size - done) / rate));
        line += std::string(Say(language, "    剩余 ", "    ")) + Duration(left, language) +
                std::string(Say(language, "", " left"));
    }
    return line;
}

}  // namespace quenlo
