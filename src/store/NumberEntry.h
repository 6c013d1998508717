#pragma once

#include <string>
#include <string_view>

class Dialogs;

// Amounts and quantities typed by the operator.
constexpr double AmountLimit = 9999999.99;
constexpr double QuantityLimit = 999.99;

struct AmountEntry {
    double ParsedAmount = 0;
    int ValueError = 0;
    std::string ScratchText; // the text as trimmed
};

struct QuantityEntry {
    double Quantity = 0;
    int ValueError = 0;
    bool QuantityEmpty = false;
};

// Reads an amount; a faulty or too large one is reported and gives 0.
AmountEntry ParseNumber(std::string_view text, Dialogs& dialogs);
// Reads a quantity; silent, the caller shows its own help line.
QuantityEntry ParseQuantity(std::string_view text);
