#include "platform/ansi_text.h"

namespace quenlo {
namespace {

std::wstring ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength > 0 ? wideLength : 0), L'\0');
    if (wideLength > 0) {
        MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength);
    }
    return wide;
}

std::string FromWide(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int narrowLength =
        WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(narrowLength > 0 ? narrowLength : 0), '\0');
    if (narrowLength > 0) {
        WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), narrowLength, nullptr,
                            nullptr);
    }
    return narrow;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
    if (GetACP() == CP_UTF8) {
        return std::string(utf8);
    }
    return FromWide(ToWide(utf8, CP_UTF8), CP_ACP);
}

std::string AnsiToUtf8(std::string_view ansi) {
    if (GetACP() == CP_UTF8) {
        return std::string(ansi);
    }
    return FromWide(ToWide(ansi, CP_ACP), CP_UTF8);
}

std::string Utf8FromWide(std::wstring_view wide) {
    return FromWide(wide, CP_UTF8);
}

std::wstring WideFromUtf8(std::string_view utf8) {
    return ToWide(utf8, CP_UTF8);
}

std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace quenlo
