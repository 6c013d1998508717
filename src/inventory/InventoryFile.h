#pragma once

#include <string>
#include <string_view>

// The lines of Inventory.dat and of its journal Inventory.new. Every writer of
// these lines goes through here, so the columns are laid down in one place.
//
// Inventory.dat has one line per price list line, in the same order: marker,
// 13-character code, a blank, then minmax, sold, on stock, total sold and
// value, each right-aligned after a blank. Readers take the numbers as blank
// separated, so lines with either width of minmax read alike.
struct InventoryLine {
    char ArticleMarker = ' '; // blank article, "$" expense code, "!" service
    std::string ArticleCode;  // 13 characters
    long InvMinMax = 0;
    double InvSold = 0;
    double InvOnStock = 0;
    double InvTotalSold = 0;
    double InvValue = 0;
};

// The width of minmax: the manual update and the price list save write 10
// (81-character lines), the consolidation, period end and stocktake write 5
// (76-character lines).
constexpr int MinMaxWidthUpdate = 10;
constexpr int MinMaxWidthConsolidation = 5;

// The line without its line end.
std::string FormatInventoryLine(const InventoryLine& line, int minMaxWidth);
// False when the line cannot be read (too short, a number missing or faulty).
bool ParseInventoryLine(std::string_view text, InventoryLine& line);

// A line of the journal Inventory.new: a blank, the code, a blank and the
// signed quantity with 1 decimal in 10 (25 characters).
struct InventoryChange {
    std::string code; // 13 characters
    double quantity = 0;
};
std::string FormatInventoryChange(const InventoryChange& change);
bool ParseInventoryChange(std::string_view text, InventoryChange& change);
