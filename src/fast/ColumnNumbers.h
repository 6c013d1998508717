#pragma once

#include "fast/ExactDecimal.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The numbers the program writes into its files, read back by column.
//
// A field is read here when it holds blanks and then one plain number ("-",
// digits, "." and digits; at most 15 digits) that ends where the field ends,
// with the field's first column blank. For such fields, reading by column
// gives exactly what reading blank-separated numbers gives (the same digits,
// the same single division, so the same double), without looking for the
// numbers: a line as the program wrote it is read at a fraction of the cost.
// Anything else returns false, and the caller reads the line the general way.

namespace ColumnNumbers {

// Reads backwards from `to`: the digits, the point, the sign, then blanks up
// to `from`. `decimals` counts the digits after the point.
inline bool readPlain(const char* from, const char* to, std::uint64_t& mantissa, int& decimals,
                      bool& negative) {
    if (to - from < 2 || *from != ' ') return false;
    const char* p = to - 1;
    mantissa = 0;
    std::uint64_t scale = 1;
    int digits = 0;
    decimals = 0;
    bool point = false;
    for (; p > from; --p) {
        const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
        if (digit <= 9) {
            mantissa += digit * scale;
            scale *= 10;
            ++digits;
        } else if (*p == '.' && !point) {
            point = true;
            decimals = digits;
        } else {
            break;
        }
    }
    // Digits before any point, 15 at most in all.
    if (digits == decimals || digits > 15) return false;
    negative = *p == '-';
    if (negative) --p;
    // The rest of the field is blank: whole words first, then what is left.
    constexpr std::uint64_t Blanks = 0x2020202020202020u;
    const char* q = from;
    for (; p - q >= 7; q += 8) {
        std::uint64_t word;
        std::memcpy(&word, q, 8);
        if (word != Blanks) return false;
    }
    for (; q <= p; ++q)
        if (*q != ' ') return false;
    return true;
}

inline bool readDecimal(const char* from, const char* to, double& value) {
    std::uint64_t mantissa;
    int decimals;
    bool negative;
    if (!readPlain(from, to, mantissa, decimals, negative)) return false;
    value = ExactDecimal(mantissa, decimals, negative);
    return true;
}

inline bool readInteger(const char* from, const char* to, long& value) {
    std::uint64_t mantissa;
    int decimals;
    bool negative;
    if (!readPlain(from, to, mantissa, decimals, negative) || decimals != 0 ||
        (to[-1] < '0' || to[-1] > '9'))
        return false;
    const long magnitude = static_cast<long>(mantissa);
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace ColumnNumbers

// The fields of `line` from column `from` (0-based) on, each ending at its
// entry of `ends`, read into `into`. False, with some values perhaps already
// set, when any field is not as the program writes it.
template <size_t N>
bool ReadColumnDecimals(std::string_view line, size_t from, const size_t (&ends)[N],
                        double* const (&into)[N]) {
    const char* const p = line.data();
    for (size_t i = 0; i < N; ++i) {
        if (ends[i] > line.size() || !ColumnNumbers::readDecimal(p + from, p + ends[i], *into[i]))
            return false;
        from = ends[i];
    }
    return true;
}
