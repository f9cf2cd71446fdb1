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

}  // namespace quenlo
