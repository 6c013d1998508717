#pragma once

#include <array>

// Totals of the consolidation run: the day's, read from the takings file.
struct ConsolidationTotals {
    double TotQuantity = 0;
    double TotWholesale = 0;
    double TotListValue = 0;
    double TotSalesValue = 0;
    double TotServicesQty = 0;
    double TotServicesTotal = 0;
    double TotCash = 0;
    double TotCheque = 0;
    double TotCredit = 0;
    double TotTax = 0;
    double TotNet = 0;
    double TotExpenses = 0;
    double TotTakings = 0;
};

// The day's figures per sales person (index 0..4). Kept apart from the
// totals above: the run clears those before its last step, and the merge
// into Spersons.dat still needs these.
struct SalesPersonTotals {
    std::array<double, 5> SpSalesQty{};
    std::array<double, 5> SpSalesTotal{};
    std::array<double, 5> SpServicesQty{};
    std::array<double, 5> SpServicesTotal{};
};
