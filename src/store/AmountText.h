#pragma once

#include "platform/Regional.h"

#include <string>

// The text forms of amounts that screens, journals and records use.

// The amount in the shop's currency format with 2 decimals and at most
// `digits` significant digits (more integer digits than that give the
// scientific form).
std::string CurrencyText(double x, const RegionalFormats& formats, int digits = 10);
// Exactly 2 decimals, "." as the point, no thousands separator.
std::string FixedText(double x);
// The shortest text of x with at most n significant digits (2, 1.5, 0.25).
std::string GeneralText(double x, int n, char decimalSeparator = '.');
// x written with 3 decimals in a field of 9 and read back: x rounded to 3 decimals.
double ThreeDecimalForm(double x);
// x without its fraction, cut toward zero. Sums and products of cent amounts
// carry binary noise (0.3 + 0.6 is 0.8999999999999999), so a value within a
// billionth of a whole number counts as that number: a cut never loses a cent
// that the decimal figures hold.
double CutWhole(double x);
// Cuts toward zero to whole cents: (v*100 - frac(v*100)) / 100 as the rules write it.
double CutToCents(double x);
