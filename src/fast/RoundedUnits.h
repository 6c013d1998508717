#pragma once

#include "fast/ExactDecimal.h"

#include <cmath>
#include <cstdint>

// The common case of writing a number with `decimals` decimals, without any
// digit string: |x| scaled by 10^decimals and rounded half away from zero,
// as a whole number of units. Rounding x to its 17 significant digits first
// (what the plain road, FixedDigitsByDigits, does) moves it by at most
// |x| * 0.5e-16; only a scaled value that close to a half (within the
// margin, which also covers the rounding of the fraction computed here)
// could round differently, and those are refused, to take the plain road.
// The product is split exactly into p + error, so the fraction is that of
// the true value. Below 2^52 units every digit of the result lies within
// the 17.
inline bool RoundedUnits(double magnitude, int decimals, std::uint64_t& units) {
    if (decimals < 0 || decimals > 9) return false;
    const double scale = ExactPowersOfTen[decimals];
    const double p = magnitude * scale;
    if (!(p < 0x1p52)) return false; // also NaN
    const double error = std::fma(magnitude, scale, -p);
    // p is neither negative nor beyond 2^52: the conversion cuts exactly to
    // the whole part, which floor() would compute slower.
    const std::uint64_t whole = static_cast<std::uint64_t>(p);
    const double fraction = (p - static_cast<double>(whole)) + error;
    const double margin = p * 1e-15 + 1e-15;
    if (std::fabs(fraction - 0.5) <= margin) return false;
    units = whole + (fraction > 0.5 ? 1 : 0);
    return true;
}
