#pragma once

#include "consolidation/DayResults.h"
#include "inventory/InventoryFile.h"

#include <functional>
#include <string>

// How far the rebuild has got: items done of the price list's lines.
using RebuildProgress = std::function<void(size_t done, size_t total)>;
// Each new line as it is written: its fields, its text, its number from 1.
using RebuiltLine = std::function<void(const InventoryLine&, std::string_view, size_t)>;

// UpdateInventoryFromTakings: the new Inventory.dat, one line per price list
// line, from the price list, the old inventory (first line of each code;
// none when there is no such file) and the day's sums per code. In statistic
// mode (InventoryOn false) no stock is kept. Progress is reported about a
// hundred times. Throws ConsolidationError for a line of the price list or of
// the old inventory that cannot be read, and when there is no price list.
std::string UpdateInventoryFromTakings(const std::string& priceListPath,
                                       const std::string& oldInventoryPath,
                                       const CodeTable<CodeTakings>& byCode, bool InventoryOn,
                                       const RebuildProgress& progress = {},
                                       const RebuiltLine& eachLine = {});
