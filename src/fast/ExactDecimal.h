#pragma once

#include <cstdint>

// A decimal written with at most 15 digits, read back exactly: the digits as
// an integer and the power of ten are both exact doubles, so one division
// gives the correctly rounded value, the very double the general conversion
// gives. Every reader of the data files' numbers goes through here.

inline constexpr double ExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// `digits` (below 10^15, or below 2^52 for the values written back) with
// `decimals` of them after the point, 0 to 15.
inline double ExactDecimal(std::uint64_t digits, int decimals, bool negative = false) {
    const double v = static_cast<double>(digits) / ExactPowersOfTen[decimals];
    return negative ? -v : v;
}
