#pragma once

#include "consolidation/ConsolidationTotals.h"
#include "store/CodeTable.h"
#include "store/Configuration.h"
#include "store/ProgramState.h"

#include <string>
#include <vector>

// What one reading of the day's takings gives: the day's totals, the figures
// per sales person, the lines for Daybyday.dat, and per article code the
// sums the inventory is brought up to date with.
struct CodeTakings {
    double quantity = 0; // every line but expense lines, in file order
    double amount = 0;   // their line amounts
    double expense = 0;  // expense lines' amounts
};

struct DayResults {
    ConsolidationTotals totals;
    SalesPersonTotals persons;
    // The text of the last start record, shown in the day report.
    std::string headerText;
    // For Daybyday.dat: one line per start record, then the "#" and "&" lines.
    std::vector<std::string> dayByDayLines;
    CodeTable<CodeTakings> byCode;

    size_t faultyLines = 0;
    size_t firstFaultyLine = 0;
    std::string firstFaultyText;
};

// ReadDayResults: reads the takings file at `resultsPath`. False when it
// cannot be opened. Lines that cannot be read are left out and counted.
bool ReadDayResults(const std::string& resultsPath, const Configuration& config,
                    const std::string& DateText, DayResults& day);

// The two lines that close a day in Daybyday.dat.
std::string DayQuantitiesLine(const ConsolidationTotals& t);
std::string DayAmountsLine(const ConsolidationTotals& t);
