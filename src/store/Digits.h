#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The plain digit runs of the fixed-column layouts: dates, times, sequence
// numbers and bar codes.
namespace Digits {

// Whether the text is one or more of the digits 0 to 9 and nothing else.
inline bool all(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The value of a run of digits that `all` accepted.
inline int value(std::string_view text) {
    int n = 0;
    for (char c : text)
        n = n * 10 + (c - '0');
    return n;
}

// A number of at least two digits, with a leading 0 below 10.
inline std::string two(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

} // namespace Digits
