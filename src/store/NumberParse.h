#pragma once

#include <optional>
#include <string_view>

// The run-time's text-to-number conversion: optional leading blanks, an
// optional sign, digits, an optional "." with digits, an optional exponent;
// nothing may follow. errorPosition is 0 for a valid number, otherwise the
// 1-based position of the first character that cannot be read.
struct RealParse {
    double value = 0;
    int errorPosition = 0;
};

RealParse ParseReal(std::string_view text);
std::optional<long> ParseInteger(std::string_view text);
