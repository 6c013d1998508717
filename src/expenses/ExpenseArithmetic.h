#pragma once

#include "platform/Regional.h"
#include "pricelist/CurrentArticle.h"
#include "till/SaleState.h"

#include <string>
#include <vector>

struct Configuration;

// The figures of an expense: money paid out of the till is booked negative,
// line by line, with the tax charged on each line entered by the operator.

// Books the confirmed line of sale.ExpenseAmount (entered positive) for the
// expense article: it becomes the negative line amount and joins ExpenseSum.
// Returns the journal line.
std::string BookExpenseLine(SaleState& sale, CurrentArticle& article,
                            const RegionalFormats& formats);

// Adds the tax charged on the last line (entered positive) to the line and
// to the expense's tax. Returns the journal line.
//
// When the amount typed was the receipt's total with the tax included, the
// tax is taken out of the line's amount without tax (its unit price and
// ExpenseSum) instead, so the line and the expense come to the receipt's
// total and are recorded as if the tax had been added.
std::string BookExpenseTax(SaleState& sale, double tax, const std::string& labelTax,
                           const RegionalFormats& formats, bool taxIncluded = false);

// The totals at F: settles SaleTotal as the amount paid out.
struct ExpenseTotals {
    std::vector<std::string> journalLines;
    std::string sumText; // the expense total without tax
    std::string taxText; // empty without tax
    std::string payText; // the amount to pay
};
ExpenseTotals ComputeExpenseTotals(bool taxOn, SaleState& sale, const RegionalFormats& formats);

// The expense is paid out: its total record takes the whole amount as received.
void PayOutExpense(SaleState& sale);
// After the total record is written: the day takes the expense, and the sale
// holds the docket's totals (sum, tax, sum with tax).
void EndExpense(SaleState& sale, DayTotals& day);
