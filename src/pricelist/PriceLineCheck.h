#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The check of one price list line as the operator typed it, and its rebuild
// into the 66-character layout: marker, code in capitals padded to 13, a
// blank, description with a capital first letter padded to 26, and after a
// blank each the wholesale and the sale price with 2 decimals in 10 and the
// minmax number in 2.

inline constexpr const char* PriceLineFaultMessage =
    "A fault found in this line.\rCorrect it and press the ENTER key again.";

// True when the line passes; `rebuilt` then holds the line in its layout.
// A faulty line leaves `rebuilt` alone. Anything after column 66 is dropped.
bool CheckPriceLine(std::string_view typed, std::string& rebuilt);

// The lines a save keeps: those of at least 66 characters.
inline bool KeptOnSave(std::string_view line) {
    return line.size() >= 66;
}

// The index of the first line the save would keep that does not pass the
// check, or npos when all of them pass.
size_t FirstFaultyPriceLine(const std::vector<std::string>& lines);
