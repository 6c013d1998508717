#pragma once

#include "reports/ShopRecords.h"

#include <array>
#include <string>
#include <unordered_map>
#include <utility>
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

// Sums the records as they are read, keeping none of them: the charts of a
// year need no more memory than those of a day.
class FiguresVisitor : public RecordsVisitor {
  public:
    void file(const std::string& name) override;
    void problem(const std::string&) override {}
    void takingsLine(const TakingsLineRow& row) override;
    void takingsTotal(const TakingsTotalRow& row) override;
    void dayByDay(const DayByDayRow& row) override;
    void salesPerson(const SalesPersonRow& row) override;
    void balance(const BalanceRow& row) override;
    // The figures of everything shown so far.
    ReportFigures figures() const;

  private:
    // The total records of one file, all of one day.
    struct FileSums {
        bool takingsFile = false;
        bool live = false; // Results.dat
        DayNumber day = 0;
        bool hasTotals = false;
        bool hasTakings = false; // a total record other than an expense's
        long long takings = 0;
        long long net = 0; // takings less expenses
    };
    std::vector<FileSums> m_files;
    PeriodTotals m_totals;
    bool m_anyTotal = false;
    DayNumber m_firstDay = 0;
    DayNumber m_lastDay = 0;
    std::array<long long, 24> m_perHour{};
    size_t m_consolidations = 0; // "&" lines of Daybyday.dat
    bool m_periodEnded = false;  // a balance sheet is there
    std::array<long long, 256> m_perPerson{};
    std::array<bool, 256> m_personSeen{};
    std::array<std::string, 256> m_personName;
    std::unordered_map<std::string, std::pair<long long, long long>> m_articles; // amount, qty
};

// Read and summed in one pass over the shop's files.
ReportFigures ReadReportFigures(const RecordsRequest& request);

// Shown for a chart over no data.
inline constexpr const char* NoSalesText = "no sales in this period";
