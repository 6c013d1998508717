#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The check of one price list line as the operator typed it, and its rebuild
// into the 66-character layout: marker, code in capitals padded to 13, a
// blank, description with a capital first letter padded to 26, and after a
// blank each the wholesale and the sale price with 2 decimals in 10 and the
// stock level in 2.

inline constexpr const char* PriceLineFaultMessage =
    "A fault found in this line.\rCorrect it and press the ENTER key again.";

// True when the line passes; `rebuilt` then holds the line in its layout.
// A faulty line leaves `rebuilt` alone. Anything after column 66 is dropped.
bool CheckPriceLine(std::string_view typed, std::string& rebuilt);

// What is wrong with a faulty line: its first wrong field with its columns
// and what the field takes, as in "stock level (columns 65-66): a whole
// number 0 to 99". Empty when the line passes.
std::string PriceLineFault(std::string_view typed);

// The fields of a line, in their order.
enum class PriceLineField { Marker, Code, Description, WholesalePrice, SalePrice, StockLevel };

// The field of a faulty line's first fault; a line too short to hold its
// fields lacks its stock level.
PriceLineField PriceLineFaultField(std::string_view typed);

// A line a save leaves out: nothing on it but blanks.
bool EmptyPriceLine(std::string_view line);

// Every line of an edited list through the line check.
struct CheckedPriceLines {
    // Parallel to the lines given: each line that passed in its layout; empty
    // for an empty line and for a faulty one.
    std::vector<std::string> rebuilt;
    // The first faulty line, and what is wrong with it; npos when none is.
    size_t faultyLine = std::string::npos;
    std::string fault;
};
CheckedPriceLines CheckPriceLines(const std::vector<std::string>& lines);
