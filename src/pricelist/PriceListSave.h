#pragma once

#include "pricelist/PriceLineCheck.h"
#include "store/Notice.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class DataFiles;
struct Configuration;

// The price list editor's files: the list loaded for editing with its backup
// Pricelist.bak, and the save, which brings Inventory.dat into line with the
// saved list and rebuilds the work copy Pricelist.wrk.

using PriceProgress = std::function<void(size_t done, size_t total)>;

// The lines of Pricelist.dat; false (lines untouched) when it cannot be read.
bool ReadPriceListLines(DataFiles& files, std::vector<std::string>& lines);
// Pricelist.bak made from the loaded lines; false when it cannot be written.
bool WritePriceListBackup(DataFiles& files, const std::vector<std::string>& lines);

// The new Inventory.dat, one line per price list line, in price list order:
// the first inventory line of the same 13-character code, unchanged, or a
// fresh line for a code the inventory does not know yet. `done` counts price
// list lines against `total`, the number of inventory lines.
std::string RealignInventory(const std::vector<std::string_view>& priceLines,
                             const std::vector<std::string_view>& inventoryLines,
                             const PriceProgress& progress = {});

struct PriceListSaveOptions {
    PriceProgress progress;
    // For tests: the commit stops after this many of its operations, as a
    // crash would.
    size_t stopCommitAfter = static_cast<size_t>(-1);
    // For measurements only.
    bool skipSyncs = false;
};

struct PriceListSaveResult {
    // Every line through the line check. When one is faulty (`faultyLine`,
    // with its `fault`) nothing is saved.
    CheckedPriceLines checked;
    bool saved = false;
    // From the rebuild of the work copy: the last line could not be read.
    bool priceListError = false;
    // From the rebuild of the work copy: the lines it left out.
    Notices notices;
};

// Saves the editor's lines: empty lines are dropped, every other line must
// pass the line check and is saved in its layout. The new
// Pricelist.dat, the realigned Inventory.dat and Inventory.wrk (the previous
// inventory) take effect together, so the two lists never get out of step;
// without an Inventory.dat only the price list is written. Then the work
// copy is rebuilt with the new stock columns. An IoError before the commit
// leaves every file as it was.
PriceListSaveResult SavePriceList(DataFiles& files, const Configuration& config,
                                  const std::vector<std::string>& lines,
                                  const PriceListSaveOptions& options = {});
