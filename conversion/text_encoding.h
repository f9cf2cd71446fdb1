// How the bytes of an input file form lines: single bytes (the ANSI code page, UTF-8)
// or 16-bit units after a UTF-16 byte-order mark.
#pragma once

#include <cstddef>
#include <string_view>

#include "conversion/cr_finder.h"

namespace quenlo {

enum class TextEncoding { Bytes, Utf8WithMark, Utf16LE, Utf16BE };

struct EncodingSignature {
    TextEncoding encoding = TextEncoding::Bytes;
    std::string_view mark;  // the byte-order mark; empty for plain bytes
};

// The encoding announced by the first bytes of a file (at least 3 of them, or all
// there are).
EncodingSignature DetectEncoding(std::string_view head);

// True when text holds line feeds but no CR: a file made where lines end in LF alone.
// Such a file is read with LF as a line end too; any other keeps a lone LF inside its
// line, as records with embedded line feeds need.
bool LineFeedsWithoutCR(std::string_view text, TextEncoding encoding);

// One code unit per byte: CR, LF and the space are the ASCII bytes. This also holds
// for GBK and UTF-8, whose multi-byte characters never contain them.
struct ByteUnits {
    static constexpr std::size_t kSize = 1;
    static constexpr std::string_view kSpace{" ", 1};
    static constexpr std::string_view kLineEnd{"\r\n", 2};
    static constexpr bool kLineFeedEnds = false;
    static bool IsSpace(const char* p) { return *p == ' '; }
    static bool IsLF(const char* p) { return *p == '\n'; }
    using CrFinder = ByteCrFinder;
    using LineEndFinder = ByteLineEndFinder<true>;
};

// 16-bit units in the byte order given by the mark; the order only decides which
// byte holds the character and which the zero.
template <int kLowByte>
struct WideUnits {
    static constexpr std::size_t kSize = 2;
    static constexpr std::string_view kSpace =
        kLowByte == 0 ? std::string_view(" \0", 2) : std::string_view("\0 ", 2);
    static constexpr std::string_view kLineEnd =
        kLowByte == 0 ? std::string_view("\r\0\n\0", 4) : std::string_view("\0\r\0\n", 4);
    static constexpr bool kLineFeedEnds = false;
    static bool Is(const char* p, char c) { return p[kLowByte] == c && p[1 - kLowByte] == 0; }
    static bool IsSpace(const char* p) { return Is(p, ' '); }
    static bool IsLF(const char* p) { return Is(p, '\n'); }
    // Finds the CR units of a block one after another, and the LF units too when
    // kLineFeedsToo is set.
    template <bool kLineFeedsToo>
    class Finder {
    public:
        Finder(const char*, const char* end) : end_(end) {}
        // The first line end in [from, end), or end.
        const char* Find(const char* from) const {
            for (; from < end_; from += 2) {
                if (Is(from, '\r') || (kLineFeedsToo && Is(from, '\n'))) {
                    return from;
                }
            }
            return end_;
        }

    private:
        const char* end_;
    };
    using CrFinder = Finder<false>;
    using LineEndFinder = Finder<true>;
};

using Utf16LEUnits = WideUnits<0>;
using Utf16BEUnits = WideUnits<1>;

// The same units in a file whose lines end in LF: CR, CR LF and LF all end a line.
template <class Units>
struct LineFeedEnding : Units {
    static constexpr bool kLineFeedEnds = true;
    using CrFinder = typename Units::LineEndFinder;
};

}  // namespace quenlo
