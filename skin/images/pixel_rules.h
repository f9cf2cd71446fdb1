// Colour arithmetic for building the skin images' in-between shades.
#pragma once

#include <windows.h>

#include <algorithm>

#include "skin/common/rounding.h"

namespace quenlo::skin {

inline constexpr COLORREF kWhitePixel = RGB(255, 255, 255);

// The colour a fraction t of the way from a to b, channel by channel.
inline COLORREF Mix(COLORREF a, COLORREF b, double t) {
    auto channel = [t](int from, int to) { return RoundHalfEven(from + (to - from) * t); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

// Step i of n evenly spaced colours from first to last.
inline COLORREF Gradient(COLORREF first, COLORREF last, int i, int n) {
    return Mix(first, last, n > 1 ? static_cast<double>(i) / (n - 1) : 0.0);
}

inline double Clamp01(double value) {
    return std::clamp(value, 0.0, 1.0);
}

}  // namespace quenlo::skin
