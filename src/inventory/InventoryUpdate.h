#pragma once

#include "inventory/InventoryFile.h"
#include "store/Notice.h"

#include <cstddef>
#include <string>

class DataFiles;

// The manual stock update: the search for one inventory line, the work copy
// made when the update screen opens, the journal of confirmed changes and
// its application when the screen is left.

enum class InventoryFind { Found, NotFound, Expense };

struct InventorySearch {
    InventoryFind result = InventoryFind::NotFound;
    Notices notices;
};

// Searches Inventory.dat for EnteredCode (13 characters) and fills `found`
// with the first readable line of that code. An expense code and a code that
// is not there are told, as " This is an EXPENSE and can't be updated."
// followed by the not-found message with an empty code, or " This code " +
// EnteredCode + " was not found !". A line of the code that cannot be read
// does not match and is told by its line number. A missing Inventory.dat
// finds nothing and says nothing.
InventorySearch FindInventoryLine(DataFiles& files, const std::string& EnteredCode,
                                  InventoryLine& found);

// Makes Inventory.wrk a copy of Inventory.dat, line by line. Only a complete
// copy becomes Inventory.wrk: when Inventory.dat cannot be opened or read,
// no work copy is left at all (an empty one would empty the inventory at the
// apply) and IoError names the file.
void MakeInventoryWorkCopy(DataFiles& files);

// Appends one confirmed change to Inventory.new; IoError names the journal
// when it cannot be opened or written, so a change is never lost unseen.
void AppendInventoryChange(DataFiles& files, const InventoryChange& change);

// Rebuilds Inventory.dat from Inventory.wrk with the stock changes of the
// journal Inventory.new added, and deletes both, all in one commit: a crash
// leaves either everything as before or everything done, so the journal is
// applied exactly once. On an IoError nothing has changed and the journal is
// kept for the next time. Lines that cannot be read are copied unchanged and
// journal lines that cannot be read are left out; the notices name both by
// line number. Without a work copy there is nothing to apply; a journal is
// then kept and reported. Tests stop the commit after `stopCommitAfter` of
// its operations, as a crash would.
// `applied`, when given, receives the change of each line that took one.
Notices ApplyInventoryUpdates(DataFiles& files, size_t stopCommitAfter = static_cast<size_t>(-1),
                              std::vector<InventoryChange>* applied = nullptr);

// The line as the update screen shows it before and after a change: marker
// and code, then minmax, sold, `stock` and total sold right-aligned in 5, 10,
// 12 and 13, each number in its shortest decimal form.
std::string InventoryLineDisplay(const InventoryLine& line, double stock);
