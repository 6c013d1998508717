#pragma once

#include <array>
#include <string>
#include <vector>

// The office's Balance.dat, rebuilt from every day collected: one column per
// month (the month a day is dated in), rows 2 to 6 the shop's cash, cheque,
// credit, takings and tax as a till's own sheet has them, then the same five
// rows for each till in number order ("T01 CASH     " .. "T01 TAX      "),
// its subtotals. The office keeps no inventory, so there are no item rows.

// Cash, cheque, credit, takings, tax: the order of the sheet's rows 2 to 6.
using DayFigures = std::array<double, 5>;

struct CollectedDay {
    int till = 0;
    std::string date; // YYYYMMDD
    DayFigures figures{};
};

// The sheet for `days`, summed in the order given; empty when there are none.
std::string OfficeBalanceSheet(const std::vector<CollectedDay>& days);
