#pragma once

#include "reports/ShopRecords.h"

#include <array>
#include <string>
#include <vector>

// What the charts and the report's summary show, worked out from the records
// alone, in hundredths.

struct ChartBar {
    std::string label;
    long long value = 0;
};

struct PeriodTotals {
    // From the total records: sales and refunds, then expenses.
    size_t sales = 0;
    size_t refunds = 0;
    size_t expenses = 0;
    long long takings = 0; // sales and refunds together
    long long cash = 0, cheque = 0, credit = 0, tax = 0;
    long long expenseTotal = 0; // paid out, positive
    long long net() const { return takings - expenseTotal; }
};

struct ReportFigures {
    DayNumber firstDay = 0;
    DayNumber lastDay = 0;
    PeriodTotals totals;
    std::vector<ChartBar> perDay;   // takings of each day with records
    std::vector<ChartBar> perMonth; // the last 12 months up to lastDay
    // The running balance (takings less expenses) at the end of each month.
    std::vector<long long> monthBalance;
    // The days of the current period, since the last period end, and the
    // period's running balance at the end of each.
    std::vector<ChartBar> periodDays;
    std::vector<long long> periodBalance;
    std::array<long long, 24> perHour{}; // takings by the hour of the total record
    std::vector<ChartBar> perPerson;     // paid lines' amounts by sales person
    std::vector<ChartBar> topByAmount;   // the 20 articles with the most takings
    std::vector<ChartBar> topByQuantity; // in hundredths too
    bool empty() const { return totals.sales + totals.refunds + totals.expenses == 0; }
};

ReportFigures ComputeReportFigures(const ShopRecords& records);

// Shown for a chart over no data.
inline constexpr const char* NoSalesText = "no sales in this period";
