#pragma once

#include "store/NumberParse.h"

#include <string_view>

// The classic text-file reading rules, shared by TextFile (reading from the
// file) and LineFields (taking apart a line already read), so both read a
// line alike.
namespace TextRules {

// A text read stops at a CR or an LF, which a text never contains.
inline bool endsText(unsigned char c) {
    return c == '\r' || c == '\n';
}

// Numbers are separated by blanks and control characters, line ends included.
inline bool separatesNumbers(unsigned char c) {
    return c <= ' ';
}

inline bool realFromToken(std::string_view token, double& value) {
    const RealParse parsed = ParseReal(token);
    if (parsed.errorPosition != 0) return false;
    value = parsed.value;
    return true;
}

inline bool integerFromToken(std::string_view token, long& value) {
    const auto parsed = ParseInteger(token);
    if (!parsed) return false;
    value = *parsed;
    return true;
}

} // namespace TextRules
