// Every fractional result in the skin (centring offsets, border halves, progress
// lengths) becomes the nearest integer, an exact half going to the even neighbour:
// 2.5 -> 2, 3.5 -> 4, -0.5 -> 0. Written out rather than left to the floating-point
// rounding mode, which any library call could have changed.
#pragma once

#include <cmath>

namespace quenlo::skin {

inline int RoundHalfEven(double value) {
    double floor = std::floor(value);
    double fraction = value - floor;
    if (fraction > 0.5) {
        return static_cast<int>(floor) + 1;
    }
    if (fraction < 0.5) {
        return static_cast<int>(floor);
    }
    int lower = static_cast<int>(floor);
    return (lower % 2 == 0) ? lower : lower + 1;
}

}  // namespace quenlo::skin
