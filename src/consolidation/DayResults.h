#pragma once

#include "consolidation/ConsolidationTotals.h"
#include "fast/CodeTable.h"
#include "store/Configuration.h"
#include "store/ProgramState.h"
#include "store/TaxClasses.h"

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

// The day's tax by rate, for a shop whose articles are taxed at several
// rates. The records keep each sale's tax as one figure, so a line's rate is
// its code's rate in Taxes.dat as it stands at the consolidation, and the
// sale's tax is shared out by those rates: all of it to the one rate of a
// sale at one rate; for a sale at several, each rate takes the tax on its
// recorded amounts, and the cent or so that the recorded amounts lost (their
// rounding to cents, or the tax they had included) goes to the rate above 0
// with the most sold. The shares always add up to the day's tax.
struct TaxShares {
    std::vector<RateTax> byRate;
    // The tax of the expenses (negative, as their records hold it).
    double expenses = 0;
};

struct DayResults {
    ConsolidationTotals totals;
    SalesPersonTotals persons;
    // The text of the last start record, shown in the day report.
    std::string headerText;
    // For Daybyday.dat: one line per start record, then the "#" and "&" lines.
    std::vector<std::string> dayByDayLines;
    CodeTable<CodeTakings> byCode;
    TaxShares taxShares;

    size_t faultyLines = 0;
    size_t firstFaultyLine = 0;
    std::string firstFaultyText;
};

// ReadDayResults: reads the takings file at `resultsPath`. False when it
// cannot be opened. Lines that cannot be read are left out and counted.
bool ReadDayResults(const std::string& resultsPath, const Configuration& config,
                    const std::string& DateText, DayResults& day,
                    const TaxClasses& taxes = TaxClasses{});

// The two lines that close a day in Daybyday.dat.
std::string DayQuantitiesLine(const ConsolidationTotals& t);
std::string DayAmountsLine(const ConsolidationTotals& t);
