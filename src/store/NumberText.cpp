#include "store/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Rounds the 17-digit decimal form of |x| to `decimals` places, half away
// from zero, and returns the digits with their point.
std::string roundedMagnitude(double magnitude, int decimals) {
    // to_chars gives the very digits of printf's "%.16e", many times faster;
    // the files' lines are mostly numbers, so their writing waits on this.
    char buf[64];
    auto end =
        std::to_chars(buf, buf + sizeof buf - 1, magnitude, std::chars_format::scientific, 16);
    *end.ptr = '\0';
    // buf: d.dddddddddddddddde[+-]xx
    std::string mantissa;
    mantissa.push_back(buf[0]);
    mantissa.append(buf + 2, 16);
    int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    // Digits of the integer part: exponent + 1 (may be <= 0).
    int intDigits = exponent + 1;
    // Build a plain digit string with enough leading zeros.
    std::string digits;
    if (intDigits <= 0) {
        digits.assign(static_cast<size_t>(1 - intDigits), '0');
        digits += mantissa;
        intDigits = 1;
    } else {
        digits = mantissa;
        if (static_cast<int>(digits.size()) < intDigits)
            digits.append(static_cast<size_t>(intDigits - static_cast<int>(digits.size())), '0');
    }
    size_t keep = static_cast<size_t>(intDigits + decimals);
    if (digits.size() < keep + 1) digits.append(keep + 1 - digits.size(), '0');
    bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
        int i = static_cast<int>(keep) - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9') {
            digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0)
            ++digits[static_cast<size_t>(i)];
        else {
            digits.insert(digits.begin(), '1');
            ++intDigits;
        }
    }
    std::string out = digits.substr(0, static_cast<size_t>(intDigits));
    if (decimals > 0) out += "." + digits.substr(static_cast<size_t>(intDigits));
    return out;
}

std::string padLeft(std::string s, int width) {
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
    return s;
}

} // namespace

std::string FixedDigits(double x, int decimals) {
    if (std::isnan(x)) return "Nan";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "+Inf";
    std::string body = roundedMagnitude(std::fabs(x), decimals);
    bool allZero = body.find_first_not_of("0.") == std::string::npos;
    if (std::signbit(x) && !allZero) body.insert(0, "-");
    return body;
}

std::string FormatFixed(double x, int width, int decimals) {
    return padLeft(FixedDigits(x, decimals), width);
}

std::string FormatInteger(long long n, int width) {
    return padLeft(std::to_string(n), width);
}
