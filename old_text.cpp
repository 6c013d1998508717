#include <string>
std::string OldFormatFixed(double, int, int); std::string OldFixedDigits(double,int); std::string OldFormatInteger(long long,int);

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The significant digits of |x| and the exponent of the first one.
struct Decimal {
    char digits[20];
    int count = 0;
    int exponent = 0;
};

// precision < 0: the shortest digits that read back as x; else precision + 1
// digits, correctly rounded.
Decimal decimalOf(double magnitude, int precision) {
    char sci[48];
    char* end =
        precision < 0
            ? std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific).ptr
            : std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific,
                            precision)
                  .ptr;
    Decimal d;
    const char* p = sci;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') d.digits[d.count++] = *p;
    ++p;
    std::from_chars(p + (*p == '+' ? 1 : 0), end, d.exponent);
    return d;
}

// Numbers are rounded on their 17 significant digits, half away from zero.
// The shortest digits of x give the same result, and far faster, whenever
// rounding does not reach their last two places: the 17-digit form then
// differs from them only beyond the digit that decides, and no halfway
// point lies between the two. The one exception is a shortest form that
// stops exactly on a half (1.005 is 1.00499999999999989 in binary): there
// the 17 digits decide.
Decimal digitsToRound(double magnitude, int decimals) {
    Decimal shortest = decimalOf(magnitude, -1);
    const int kept = shortest.exponent + 1 + decimals;
    const bool onAHalf = shortest.count == kept + 1 && shortest.digits[shortest.count - 1] == '5';
    if (shortest.count <= 15 && kept + 1 <= 15 && !onAHalf) return shortest;
    return decimalOf(magnitude, 16);
}

// Rounds |x| to `decimals` places and returns the digits with their point.
// Start-up writes a few numbers for every price list line, so this works in
// a local buffer.
std::string roundedMagnitude(double magnitude, int decimals) {
    const Decimal d = digitsToRound(magnitude, decimals);
    char digits[720];
    size_t n = 0;
    int intDigits = d.exponent + 1;
    auto appendZeros = [&](int count) {
        for (int i = 0; i < count; ++i)
            digits[n++] = '0';
    };
    if (intDigits <= 0) {
        appendZeros(1 - intDigits);
        intDigits = 1;
    }
    for (int i = 0; i < d.count; ++i)
        digits[n++] = d.digits[i];
    appendZeros(intDigits - static_cast<int>(n));
    const size_t keep = static_cast<size_t>(intDigits + decimals);
    appendZeros(static_cast<int>(keep + 1) - static_cast<int>(n));
    const bool up = digits[keep] >= '5';
    n = keep;
    char* first = digits + 1; // room for a carry into a new leading digit
    std::memmove(first, digits, n);
    if (up) {
        size_t i = n;
        while (i > 0 && first[i - 1] == '9')
            first[--i] = '0';
        if (i > 0) {
            ++first[i - 1];
        } else {
            *--first = '1';
            ++n;
            ++intDigits;
        }
    }
    std::string out;
    out.reserve(n + 2);
    out.append(first, static_cast<size_t>(intDigits));
    if (decimals > 0) {
        out += '.';
        out.append(first + intDigits, n - static_cast<size_t>(intDigits));
    }
    return out;
}

std::string padLeft(std::string s, int width) {
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
    return s;
}

} // namespace

std::string OldFixedDigits(double x, int decimals) {
    if (std::isnan(x)) return "Nan";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "+Inf";
    std::string body = roundedMagnitude(std::fabs(x), decimals);
    bool allZero = body.find_first_not_of("0.") == std::string::npos;
    if (std::signbit(x) && !allZero) body.insert(0, "-");
    return body;
}

std::string OldFormatFixed(double x, int width, int decimals) {
    return padLeft(OldFixedDigits(x, decimals), width);
}

std::string OldFormatInteger(long long n, int width) {
    return padLeft(std::to_string(n), width);
}
