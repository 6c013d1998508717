#pragma once

#include "pricelist/PriceLineCheck.h"

#include <array>
#include <cstddef>
#include <string>

// The price list editor's entry form: one field per column group of a price
// list line, so that a new owner adds an article without counting columns.
// The fields are laid out into a line that then takes the same line check
// as a line typed in full.

using PriceFormTexts = std::array<std::string, 6>; // indexed by PriceLineField

// The characters a field holds at most.
size_t PriceFormWidth(PriceLineField field);

// Whether a field takes a typed (or pasted) character; Backspace always.
bool PriceFormTakes(PriceLineField field, char key);

struct ComposedPriceLine {
    bool passed = false;
    std::string line; // the checked line in its layout, when it passed
    PriceLineField faultyField = PriceLineField::Code;
    std::string fault; // what the faulty field takes, named by the field
};

ComposedPriceLine ComposePriceLine(const PriceFormTexts& texts);
