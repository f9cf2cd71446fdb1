#include "conversion/text_encoding.h"

namespace quenlo {
namespace {

constexpr std::string_view kUtf8Mark{"\xEF\xBB\xBF", 3};
constexpr std::string_view kUtf16LEMark{"\xFF\xFE", 2};
constexpr std::string_view kUtf16BEMark{"\xFE\xFF", 2};

}  // namespace

EncodingSignature DetectEncoding(std::string_view head) {
    if (head.starts_with(kUtf8Mark)) {
        return {TextEncoding::Utf8WithMark, kUtf8Mark};
    }
    if (head.starts_with(kUtf16LEMark)) {
        return {TextEncoding::Utf16LE, kUtf16LEMark};
    }
    if (head.starts_with(kUtf16BEMark)) {
        return {TextEncoding::Utf16BE, kUtf16BEMark};
    }
    return {};
}

namespace {

template <class Units>
bool UnitsHaveLineFeedsWithoutCR(std::string_view text) {
    bool lineFeeds = false;
    for (std::size_t at = 0; at + Units::kSize <= text.size(); at += Units::kSize) {
        const char* unit = text.data() + at;
        if (Units::Is(unit, '\r')) {
            return false;
        }
        lineFeeds = lineFeeds || Units::IsLF(unit);
    }
    return lineFeeds;
}

}  // namespace

bool LineFeedsWithoutCR(std::string_view text, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf16LE:
            return UnitsHaveLineFeedsWithoutCR<Utf16LEUnits>(text);
        case TextEncoding::Utf16BE:
            return UnitsHaveLineFeedsWithoutCR<Utf16BEUnits>(text);
        default:
            return text.find('\r') == std::string_view::npos &&
                   text.find('\n') != std::string_view::npos;
    }
}

}  // namespace quenlo
