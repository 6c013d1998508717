#pragma once

#include <string>
#include <string_view>

// A text filled with blanks to a width, on the left or the right; a longer
// text stays whole.
std::string PadLeft(std::string text, size_t width);
std::string PadRight(std::string text, size_t width);

// A text without the blanks before and after it.
inline std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A text without the blanks, tabs and control characters around it.
inline std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// TrimBlanks as a string of its own.
inline std::string BlankTrimmed(std::string_view text) {
    return std::string(TrimBlanks(text));
}
