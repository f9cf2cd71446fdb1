// Finds the line ends of a block one after another: CR bytes, and LF bytes too when
// kLineFeedEnds is set. Lines are short (tens of bytes), so a call of memchr per line
// costs more than the search itself: instead 64 bytes at a time are compared at once
// and the line ends among them taken from a bit mask.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quenlo {

template <bool kLineFeedEnds>
class ByteLineEndFinder {
public:
    ByteLineEndFinder(const char* begin, const char* end) : end_(end), chunk_(begin) {
        Load(begin);
    }

    // The first line end in [from, end), or end. Positions asked for never go backwards.
    const char* Find(const char* from) {
        for (;;) {
            if (from >= chunk_ && from < chunk_ + kChunk) {
                const std::uint64_t mask = mask_ & (~std::uint64_t{0} << (from - chunk_));
                if (mask != 0) {
                    return chunk_ + __builtin_ctzll(mask);
                }
                from = chunk_ + kChunk;
            }
            if (from >= end_) {
                return end_;
            }
            Load(from);
        }
    }

private:
    static constexpr std::ptrdiff_t kChunk = 64;

    // The line ends of the 64 bytes from p (fewer at the end of the block) as bits.
    void Load(const char* p) {
        chunk_ = p;
        if (end_ - p >= kChunk) {
#if defined(__SSE2__)
            const __m128i cr = _mm_set1_epi8('\r');
            std::uint64_t mask = 0;
            for (int i = 0; i < 4; ++i) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
                __m128i ends = _mm_cmpeq_epi8(bytes, cr);
                if constexpr (kLineFeedEnds) {
                    ends = _mm_or_si128(ends, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
                }
                const auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(ends));
                mask |= std::uint64_t{bits} << (16 * i);
            }
            mask_ = mask;
            return;
#endif
        }
        std::uint64_t mask = 0;
        const std::ptrdiff_t n = end_ - p < kChunk ? end_ - p : kChunk;
        for (std::ptrdiff_t i = 0; i < n; ++i) {
            const bool lineEnd = p[i] == '\r' || (kLineFeedEnds && p[i] == '\n');
            mask |= std::uint64_t{lineEnd} << i;
        }
        mask_ = mask;
    }

    const char* end_;
    const char* chunk_;
    std::uint64_t mask_ = 0;
};

using ByteCrFinder = ByteLineEndFinder<false>;

}  // namespace quenlo
