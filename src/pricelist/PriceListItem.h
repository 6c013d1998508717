#pragma once

#include <string>
#include <string_view>

// A price list line as the consolidation needs it: what the item is, its
// wholesale price and its reference stock.
struct PriceListItem {
    char marker = ' ';     // "$" for an expense code
    std::string_view code; // columns 2-14
    double wholesale = 0;  // columns 43-52
    double salePrice = 0;
    long StockLevel = 0;
};

// False when the line cannot be read. The wholesale price is taken from its
// own ten columns, so one of a million or more keeps its first digit even
// though it fills them and touches the description.
bool ParsePriceListItem(std::string_view line, PriceListItem& item);
