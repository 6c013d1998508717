#include "store/NumberParse.h"

#include <cerrno>
#include <cmath>
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
} // namespace

RealParse ParseReal(std::string_view text) {
    RealParse result;
    size_t end = scanNumber(text, true);
    if (end != text.size() || text.empty()) {
        result.errorPosition = static_cast<int>(end) + 1;
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
    std::string copy(text);
    errno = 0;
    long v = std::strtol(copy.c_str(), nullptr, 10);
    if (errno == ERANGE) return std::nullopt;
    return v;
}
