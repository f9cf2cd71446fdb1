#include "conversion/leading_number.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quenlo {
namespace {

bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text without the characters the rule ignores.
std::string Significant(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (!IsIgnored(c)) {
            kept.push_back(c);
        }
    }
    return kept;
}

int DigitValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

double RadixNumber(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) {
        const int digit = DigitValue(c);
        if (digit >= radix) {
            break;
        }
        value = value * radix + digit;
    }
    return value;
}

// Length of the longest prefix of s that is a decimal number, 0 when there is none.
std::size_t DecimalPrefix(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    // An exponent counts only when it is complete.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    const std::string s = Significant(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') {
            return RadixNumber(std::string_view(s).substr(2), 16);
        }
        if (s[1] == 'O' || s[1] == 'o') {
            return RadixNumber(std::string_view(s).substr(2), 8);
        }
        return 0;
    }
    const std::size_t length = DecimalPrefix(s);
    if (length == 0) {
        return 0;
    }
    // from_chars takes no sign of its own; the sign is applied afterwards.
    const char* first = s.data();
    const char* last = s.data() + length;
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-') {
        ++first;
    }
    double value = 0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large becomes infinite, too small becomes zero, as the hardware would.
        const std::string_view rest(first, last - first);
        const auto e = rest.find_first_of("eE");
        const bool tinyExponent =
            e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-';
        value = tinyExponent ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

bool BeginsWithNumber(std::string_view text) {
    const std::string s = Significant(text);
    if (s.size() >= 2 && s[0] == '&') {
        const int radix = s[1] == 'H' || s[1] == 'h' ? 16 : s[1] == 'O' || s[1] == 'o' ? 8 : 0;
        return s.size() > 2 && DigitValue(s[2]) < radix;
    }
    return DecimalPrefix(s) > 0;
}

std::string FormatWholeNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, "%.0f", std::nearbyint(value));
    std::string text(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    return text == "-0" ? "0" : text;
}

std::int64_t FileLimit(double linesPerFile) {
    if (linesPerFile >= 1 && linesPerFile < 0x1p62 && std::floor(linesPerFile) == linesPerFile) {
        return static_cast<std::int64_t>(linesPerFile);
    }
    return -1;
}

}  // namespace quenlo
