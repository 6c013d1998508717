#pragma once

#include <string>

// A text filled with blanks to a width, on the left or the right; a longer
// text stays whole.
std::string PadLeft(std::string text, size_t width);
std::string PadRight(std::string text, size_t width);
