#pragma once

#include "fast/ExactDecimal.h"

#include <cstdint>

// A plain decimal as every data file writes its numbers: an optional "-",
// digits, an optional "." with digits, at most 15 digits in all. Read from
// `p` as far as that form goes, to the very double the general conversion
// gives for the same text (see ExactDecimal). False, and `p` unmoved, when
// no digit starts it or it has more than 15 digits. Whether what follows
// ends the number is the caller's to say; when it does not, the caller
// takes the general conversion, which is the plain reference of this one.
inline bool ReadPlainDecimal(const char*& p, const char* end, double* value) {
    auto digitOf = [](char c) {
        return static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned{'0'};
    };
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    std::uint64_t mantissa = 0;
    const char* const intStart = q;
    for (; q < end && digitOf(*q) <= 9; ++q)
        mantissa = mantissa * 10 + digitOf(*q);
    if (q == intStart) return false;
    const long digits = q - intStart;
    long decimals = 0;
    if (q < end && *q == '.') {
        const char* const fractionStart = ++q;
        for (; q < end && digitOf(*q) <= 9; ++q)
            mantissa = mantissa * 10 + digitOf(*q);
        decimals = q - fractionStart;
    }
    if (digits + decimals > 15) return false;
    if (value) *value = ExactDecimal(mantissa, static_cast<int>(decimals), negative);
    p = q;
    return true;
}
