#pragma once

#include "consolidation/ConsolidationTotals.h"
#include "consolidation/RunDates.h"
#include "store/ProgramState.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Balance.dat, the balance sheet: one column of 13 characters per closed
// period. Row 1 is the heading ("BALANCE SHEET" and the periods' month and
// year), rows 2 to 6 the payment kinds, tax and takings of each period, then
// one row per expense code and service of the inventory, in inventory order,
// with its value at each period end. Rows are carried whole from one period
// to the next, however many periods they hold.
//
// Balance.Tot: the sheet with every number rewritten in 13 and the row's sum
// after " =".

struct BalanceUpdate {
    std::string balance;
    // The inventory with its value field started again at 0.00: every line
    // when the sheet already existed, expense and service lines only at the
    // first period end.
    std::string inventory;
};

// UpdateBalanceSheet: the new column for the period `period` (the sums of the
// day-by-day archive) on `oldBalance` (none at the first period end), with a
// row for each expense and service line of `inventory` (the day's new
// inventory). An item row is looked up from row 7 on, the first row with its
// code; a new item gets "0.00" for each earlier period. Throws
// ConsolidationError naming the file and the line for a row of the old sheet
// or a line of the inventory that cannot be read.
BalanceUpdate UpdateBalanceSheet(const std::optional<std::string>& oldBalance,
                                 const std::string& balancePath, std::string_view inventory,
                                 const std::string& inventoryPath,
                                 const ConsolidationTotals& period, const RunDates& dates);

// The numbers of a row after its 13-character label; false when one cannot
// be read.
bool ReadBalanceNumbers(std::string_view row, std::vector<double>& values);
// The period names of the heading row ("Dez2026"), in column order.
std::vector<std::string> BalancePeriods(std::string_view heading);

// The content of Balance.Tot for the sheet `balance`. Throws
// ConsolidationError for a row whose numbers cannot be read.
std::string BalanceTotals(std::string_view balance, const std::string& balancePath);

// Shown when there is no balance sheet to total.
inline constexpr const char* BalanceMissingText = "File BALANCE.dat not found.";
// Shown, with the line, for a balance sheet that cannot be read.
inline constexpr const char* BalanceFaultyText = "Empty or faulty file balance file.";
