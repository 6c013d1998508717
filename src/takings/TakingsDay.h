#pragma once

#include "till/SaleState.h"

#include <cstddef>
#include <string>

class DataFiles;

// The day's totals as the takings file holds them: every sale and expense
// since the last consolidation, whatever runs of the program recorded them.
struct TakingsDay {
    DayTotals totals;
    size_t sales = 0;    // paid groups with a total of 0 or more
    size_t refunds = 0;  // paid groups with a negative total
    size_t expenses = 0; // expense groups paid out
    // The clock of the last sale's total record ("9:05"), empty without one.
    std::string lastSaleClock;
    // The date of the file's first start record, as it was written.
    std::string firstDate;
    // Lines that could not be read, left out of the totals.
    size_t skippedLines = 0;
};

// Each total record counts once, with the lines since the record before
// it: a group of expense lines as an expense, any other as a sale. Lines
// without a total record (a sale never paid) count for nothing. With
// rounding on, a sale's rounding is what its total differs from its lines
// and tax. A file that is not there holds an empty day.
TakingsDay ReadTakingsDay(const DataFiles& files, bool roundingOn);

// The cash expected in the drawer: the cash takings less the expenses.
double CashInDrawer(const DayTotals& day);
