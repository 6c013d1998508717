#pragma once

#include <string>
#include <string_view>

// Numbers as the data files write them: "x:w:d", d decimals with "." as the
// point, right-aligned in w characters and wider when needed, never cut.
// Halves round away from zero on the number's 17 significant digits, as the
// files written so far do.
std::string FormatFixed(double x, int width, int decimals);
std::string FormatInteger(long long n, int width);
// The number with d decimals and no padding.
std::string FixedDigits(double x, int decimals);
// The same by way of its significant digits, for every number whatever its
// size: the plain reference of FixedDigits, which takes a short road
// (fast/RoundedUnits.h) wherever that gives the same text.
std::string FixedDigitsByDigits(double x, int decimals);
// The same, added to the end of `out` without a string of their own: the
// writers of long files lay down a few numbers per line.
void AppendFixed(std::string& out, double x, int width, int decimals);
void AppendInteger(std::string& out, long long n, int width);
// The number a reader gets back from the text FixedDigits(x, decimals)
// writes, without the text: the whole units of that text over the power of
// ten, one correctly rounded division, as the reading does it. False where
// only the text itself can tell (very large or not finite numbers).
bool FixedReadBack(double x, int decimals, double& value);
// Whether `token` is exactly the text FixedDigits(x, decimals) writes for
// the number x read from it (for decimals < 0: the text AppendInteger
// writes), so that reading and writing it again gives it back unchanged and
// it can be copied instead: a sign only before a number that is not zero,
// no leading zeros, exactly `decimals` decimals, at most 15 digits.
bool WritesBackUnchanged(std::string_view token, int decimals);
