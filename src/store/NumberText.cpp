#include "store/NumberText.h"

#include "fast/RoundedUnits.h"
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

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
    const size_t keep = static_cast<size_t>(intDigits) + static_cast<size_t>(decimals);
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

} // namespace

std::string FixedDigitsByDigits(double x, int decimals) {
    if (std::isnan(x)) return "Nan";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "+Inf";
    std::string body = roundedMagnitude(std::fabs(x), decimals);
    bool allZero = body.find_first_not_of("0.") == std::string::npos;
    if (std::signbit(x) && !allZero) body.insert(0, "-");
    return body;
}

namespace {

// Two digits at a time, from a table: the long files lay down a few numbers
// per line, and a division per digit shows.
constexpr char DigitPairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334"
    "3536373839404142434445464748495051525354555657585960616263646566676869"
    "707172737475767778798081828384858687888990919293949596979899";

// The digits of v, ending at `end`; returns where they start.
template <typename T> char* digitsBefore(char* end, T v) {
    char* p = end;
    while (v >= 100) {
        const T pair = v % 100;
        v /= 100;
        p -= 2;
        std::memcpy(p, DigitPairs + 2 * pair, 2);
    }
    if (v >= 10) {
        p -= 2;
        std::memcpy(p, DigitPairs + 2 * v, 2);
    } else {
        *--p = static_cast<char>('0' + v);
    }
    return p;
}

char* wholeDigitsBefore(char* end, std::uint64_t v) {
    return v <= 0xffffffffu ? digitsBefore(end, static_cast<std::uint32_t>(v))
                            : digitsBefore(end, v);
}

// The text of FixedDigits ends at `end`; returns where it starts.
char* fixedDigitsBefore(char* end, double x, int decimals, std::string& slow) {
    std::uint64_t units;
    if (!std::isfinite(x) || !RoundedUnits(std::fabs(x), decimals, units)) {
        slow = FixedDigitsByDigits(x, decimals);
        return nullptr;
    }
    char* p = end;
    const bool negative = std::signbit(x) && units != 0;
    if (decimals > 0) {
        static constexpr std::uint64_t Scales[] = {
            1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
        const std::uint64_t scale = Scales[decimals];
        std::uint32_t fraction = static_cast<std::uint32_t>(units % scale);
        units /= scale;
        // The fraction keeps its leading zeros: exactly `decimals` digits.
        for (int i = decimals; i >= 2; i -= 2) {
            p -= 2;
            std::memcpy(p, DigitPairs + size_t{2} * (fraction % 100), 2);
            fraction /= 100;
        }
        if (decimals % 2) *--p = static_cast<char>('0' + fraction);
        *--p = '.';
    }
    p = wholeDigitsBefore(p, units);
    if (negative) *--p = '-';
    return p;
}

} // namespace

bool WritesBackUnchanged(std::string_view token, int decimals) {
    size_t i = 0;
    const bool negative = !token.empty() && token[0] == '-';
    if (negative) ++i;
    const size_t intStart = i;
    bool allZero = true;
    while (i < token.size() && token[i] >= '0' && token[i] <= '9')
        allZero &= token[i++] == '0';
    const size_t intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && token[intStart] == '0')) return false;
    size_t digits = intDigits;
    if (decimals > 0) {
        if (i >= token.size() || token[i] != '.') return false;
        ++i;
        const size_t fractionStart = i;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9')
            allZero &= token[i++] == '0';
        if (i - fractionStart != static_cast<size_t>(decimals)) return false;
        digits += static_cast<size_t>(decimals);
    }
    // 15 digits read back to the same decimal; a zero is written unsigned.
    return i == token.size() && digits <= 15 && !(negative && allZero);
}

bool FixedReadBack(double x, int decimals, double& value) {
    std::uint64_t units;
    if (!std::isfinite(x) || !RoundedUnits(std::fabs(x), decimals, units)) return false;
    // Below 2^52 units both the units and the power of ten are exact, so the
    // division rounds the written decimal correctly, as its reading does.
    value = ExactDecimal(units, decimals, std::signbit(x) && units != 0);
    return true;
}

std::string FixedDigits(double x, int decimals) {
    char buffer[40];
    char* const end = buffer + sizeof buffer;
    std::string slow;
    const char* start = fixedDigitsBefore(end, x, decimals, slow);
    return start ? std::string(start, static_cast<size_t>(end - start)) : slow;
}

void AppendFixed(std::string& out, double x, int width, int decimals) {
    char buffer[40];
    char* const end = buffer + sizeof buffer;
    std::string slow;
    const char* start = fixedDigitsBefore(end, x, decimals, slow);
    const std::string_view text =
        start ? std::string_view(start, static_cast<size_t>(end - start)) : std::string_view(slow);
    if (static_cast<int>(text.size()) < width)
        out.append(static_cast<size_t>(width) - text.size(), ' ');
    out += text;
}

std::string FormatFixed(double x, int width, int decimals) {
    std::string out;
    AppendFixed(out, x, width, decimals);
    return out;
}

std::string FormatInteger(long long n, int width) {
    std::string out;
    AppendInteger(out, n, width);
    return out;
}

void AppendInteger(std::string& out, long long n, int width) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
    const size_t length = static_cast<size_t>(end - buffer);
    if (static_cast<int>(length) < width) out.append(static_cast<size_t>(width) - length, ' ');
    out.append(buffer, length);
}
