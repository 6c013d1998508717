#include "store/NumberParse.h"

#include "fast/PlainDecimal.h"
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Scans the grammar; returns the index of the first character that does not
// fit, or text.size() when all of it does.
size_t scanNumber(std::string_view t, bool allowFraction) {
    size_t i = 0;
    while (i < t.size() && t[i] == ' ')
        ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digitsStart = i;
    while (i < t.size() && isDigit(t[i]))
        ++i;
    if (i == digitsStart) return i;
    if (!allowFraction) return i;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        size_t expStart = i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
        if (i == expStart) return i;
    }
    return i;
}

// A plain decimal taken whole on the short road.
bool plainDecimal(std::string_view t, double& value) {
    const char* p = t.data();
    const char* const end = p + t.size();
    return ReadPlainDecimal(p, end, &value) && p == end;
}

// The conversion of a text whose grammar is already checked, for the common
// case of a plain number; nothing for the rest (a lone sign, blanks only, out
// of range), which the run-time's own conversion settles as it always has.
template <typename T> std::optional<T> fastConversion(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return std::nullopt;
    std::string_view digits = text.substr(start);
    if (digits.front() == '+') digits.remove_prefix(1);
    T value{};
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) return std::nullopt;
    return value;
}
} // namespace

RealParse ParseReal(std::string_view text) {
    RealParse result;
    if (plainDecimal(text, result.value)) return result;
    size_t end = scanNumber(text, true);
    if (end != text.size() || text.empty()) {
        result.errorPosition = static_cast<int>(end) + 1;
        return result;
    }
    // The grammar is checked; what is left is the conversion, correctly
    // rounded either way. from_chars is the fast road; the run-time's own
    // conversion settles what it reports as out of range.
    if (std::optional<double> fast = fastConversion<double>(text)) {
        result.value = *fast;
        return result;
    }
    std::string copy(text);
    errno = 0;
    double v = std::strtod(copy.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(v)) {
        result.errorPosition = static_cast<int>(text.size());
        return result;
    }
    result.value = v;
    return result;
}

std::optional<long> ParseInteger(std::string_view text) {
    if (text.empty() || scanNumber(text, false) != text.size()) return std::nullopt;
    if (std::optional<long> fast = fastConversion<long>(text)) return fast;
    std::string copy(text);
    errno = 0;
    long v = std::strtol(copy.c_str(), nullptr, 10);
    if (errno == ERANGE) return std::nullopt;
    return v;
}
