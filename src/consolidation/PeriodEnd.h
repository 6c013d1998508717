#pragma once

#include "consolidation/RunDates.h"
#include "takings/SealJournal.h"

#include <string>
#include <string_view>
#include <vector>

class FileCommit;

// A period end closes the period inside the day's consolidation: the
// day-by-day and sales-person files go into their archives and start again,
// and the balance sheet gets its column. It works on the files the day's run
// has prepared, which are not on disk yet.
struct PeriodEndInput {
    std::string dataDir;
    RunDates dates;
    std::string_view dayByDay;     // Daybyday.dat with today's lines
    std::string_view salesPersons; // Spersons.dat with today's figures merged
    std::string_view inventory;    // the day's new Inventory.dat
};

struct PeriodEndFiles {
    std::string dayArchiveName; // "Day" + year + month + "." + letter
    std::string dayArchive;
    std::string salesPersonArchiveName; // "SP" + year + month + ".dat"
    std::string salesPersonArchive;     // the whole file, old blocks and the new one
    std::string balance;
    std::string balanceTotals;
    std::string inventory; // with the values started again
    // The sheet existed before: Inventory.wrk then keeps the day's inventory.
    bool balanceExisted = false;
};

// Throws ConsolidationError, with the text for the operator, when a file
// cannot be read or every day-by-day archive name of the month is taken.
PeriodEndFiles PreparePeriodEnd(const PeriodEndInput& in);

// The seals of the files the period end writes and deletes; they refer to
// `files`, which must outlive them.
std::vector<FileSeal> PeriodEndSeals(const PeriodEndFiles& files);

// Adds the period end's files and operations to the day's change.
void StagePeriodEnd(FileCommit& commit, const PeriodEndFiles& files, std::string_view dayInventory);
