#pragma once

#include "store/Notice.h"

#include <string>
#include <string_view>

// Amounts and quantities typed by the operator.
constexpr double AmountLimit = 9999999.99;
constexpr double QuantityLimit = 999.99;

struct AmountEntry {
    double ParsedAmount = 0;
    int ValueError = 0;
    std::string ScratchText; // the text as trimmed
    Notices notices;
};

struct QuantityEntry {
    double Quantity = 0;
    int ValueError = 0;
    bool QuantityEmpty = false;
};

// Reads an amount; a faulty or too large one gives 0 and a notice.
AmountEntry ParseNumber(std::string_view text);
// Reads a quantity; silent, the caller shows its own help line.
QuantityEntry ParseQuantity(std::string_view text);
