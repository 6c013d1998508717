#pragma once

#include "consolidation/DayCommit.h"

#include <string>
#include <string_view>

// The stocktake that sets the inventory up in inventory mode when there is
// none: the quantities the takings file holds are the counted stock. All at
// once: the new Inventory.dat, the listing "Inventory." + yy + letter with
// the counted lines and their total value, and the takings file filed as
// "Stocktake." + yy + letter, so the counted quantities are never booked as
// the next day's sales.
struct StocktakeInput {
    std::string dataDir;
    bool InventoryOn = true;
    RunDates dates;
    // The takings file as read by ReadDayResults.
    const DayResults& day;
    // When it is made: the time its seals and its line in Audit.dat carry.
    DateTime at = {};
};

struct StocktakeResult {
    std::string recordName;  // Stocktake.yyX
    std::string listingName; // Inventory.yyX
    double totalValue = 0;
    std::string unfinished;
};

// Throws ConsolidationError, with the text for the operator, when it stops
// before the commit; nothing has changed then.
StocktakeResult CommitStocktake(const StocktakeInput& in, const DayCommitOptions& options = {});

// The last line of a stocktake listing read back: the total value it
// gives. False for any other line.
bool ReadStocktakeTotal(std::string_view line, double& value);

// The note kept in the journal of a stocktake.
std::string FinishedStocktakeText(const std::string& DateText);
