#pragma once

#include "consolidation/DayResults.h"
#include "consolidation/InventoryRebuild.h"
#include "consolidation/RunDates.h"
#include "platform/DateTime.h"

#include <string>

// The consolidation's last step, all or nothing: every new file is written in
// full under a staging name and synced, then one journal lists the changes in
// a fixed order (the new Daybyday.dat, Spersons.dat and Inventory.dat, the
// work copy Inventory.wrk deleted; at a period end instead the archives, the
// balance sheet and the inventory with its values started again, see
// PeriodEnd.h; the takings file moved to its archive name last) and is
// renamed into place. Before that moment nothing has changed;
// after it the change is made, and a crash is finished at the next start.
struct DayCommitInput {
    std::string dataDir;
    const Configuration& config;
    bool InventoryOn = false;
    bool PeriodEnd = false;
    RunDates dates;
    // The day as read from the takings file; its sales person figures get
    // the stored ones added.
    DayResults& day;
    // The day's Z line for Cashup.dat. Cashup.dat, with it, moves to its
    // dated archive beside the takings', in the same commit.
    std::string closingCountLine = {};
    // When the close is made: the time its seals carry.
    DateTime at = {};
};

struct DayCommitOptions {
    RebuildProgress progress;
    bool sync = true;
    // For tests: stop after this many operations of the commit, as a crash would.
    size_t stopAfter = static_cast<size_t>(-1);
};

struct DayCommitResult {
    std::string archiveName;
    // Empty when every change is in place; otherwise why the rest is left
    // for the next start to finish.
    std::string unfinished;
    // Empty when the day went to the outbox for the office (or has no till
    // number to go there); otherwise why it did not.
    std::string outbox;
};

// Throws ConsolidationError, with the text for the operator, when it stops
// before the commit; nothing has changed then.
DayCommitResult CommitDay(const DayCommitInput& in, const DayCommitOptions& options = {});

// The note kept in the journal, which the next start shows when it finishes
// an interrupted consolidation.
std::string FinishedConsolidationText(const std::string& DateText);
