#pragma once

#include <string>

// Numbers as the data files write them: "x:w:d", d decimals with "." as the
// point, right-aligned in w characters and wider when needed, never cut.
// Halves round away from zero on the number's 17 significant digits, as the
// files written so far do.
std::string FormatFixed(double x, int width, int decimals);
std::string FormatInteger(long long n, int width);
// The number with d decimals and no padding.
std::string FixedDigits(double x, int decimals);
