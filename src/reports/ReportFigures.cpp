#include "reports/ReportFigures.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace {

constexpr size_t TopCount = 20;

std::vector<ChartBar> top(const std::unordered_map<std::string, long long>& sums) {
    std::vector<ChartBar> bars;
    bars.reserve(sums.size());
    for (const auto& [code, value] : sums)
        bars.push_back({code, value});
    std::sort(bars.begin(), bars.end(), [](const ChartBar& a, const ChartBar& b) {
        return a.value != b.value ? a.value > b.value : a.label < b.label;
    });
    if (bars.size() > TopCount) bars.resize(TopCount);
    return bars;
}

int hourOf(const std::string& clock) {
    const size_t colon = clock.find(':');
    if (colon == 0 || colon == std::string::npos || colon > 2) return -1;
    int hour = 0;
    for (size_t i = 0; i < colon; ++i) {
        if (clock[i] < '0' || clock[i] > '9') return -1;
        hour = hour * 10 + (clock[i] - '0');
    }
    return hour < 24 ? hour : -1;
}

std::string monthLabel(int month) {
    static constexpr const char* Names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return std::string(Names[month % 100 - 1]) + " " + std::to_string(month / 100);
}

} // namespace

ReportFigures ComputeReportFigures(const ShopRecords& records) {
    ReportFigures f;
    PeriodTotals& t = f.totals;
    std::map<DayNumber, long long> days;
    std::map<int, long long> months; // yyyymm
    for (const TakingsTotalRow& row : records.totals) {
        if (row.kind == TakingsTotalRow::Kind::Expense) {
            ++t.expenses;
            t.expenseTotal -= row.total;
            t.tax += row.tax;
            continue;
        }
        ++(row.kind == TakingsTotalRow::Kind::Refund ? t.refunds : t.sales);
        t.takings += row.total;
        t.cash += row.cash;
        t.cheque += row.cheque;
        t.credit += row.credit;
        t.tax += row.tax;
        days[row.day] += row.total;
        months[row.day / 100] += row.total;
        const int hour = hourOf(row.clock);
        if (hour >= 0) f.perHour[static_cast<size_t>(hour)] += row.total;
    }
    for (const auto& [day, value] : days)
        f.perDay.push_back({IsoDateText(day), value});
    if (!records.totals.empty()) {
        f.firstDay = records.totals.front().day;
        f.lastDay = records.totals.back().day;
        int month = f.lastDay / 100;
        for (int i = 0; i < 12; ++i) {
            auto found = months.find(month);
            f.perMonth.insert(f.perMonth.begin(),
                              {monthLabel(month), found == months.end() ? 0 : found->second});
            month = month % 100 == 1 ? month - 89 : month - 1;
        }
    }

    std::map<char, std::string> names;
    for (const SalesPersonRow& person : records.persons)
        names.try_emplace(person.code, person.name);
    std::map<char, long long> persons;
    std::unordered_map<std::string, long long> amounts;
    std::unordered_map<std::string, long long> quantities;
    for (const TakingsLineRow& line : records.lines) {
        if (!line.paid || line.kind == TakingsLineRow::Kind::Expense) continue;
        persons[line.person] += line.amount;
        if (line.kind == TakingsLineRow::Kind::Service) continue;
        amounts[line.code] += line.amount;
        quantities[line.code] += line.quantity;
    }
    for (const auto& [code, value] : persons) {
        auto name = names.find(code);
        std::string label(1, code);
        if (name != names.end() && !name->second.empty()) label += " " + name->second;
        f.perPerson.push_back({label, value});
    }
    f.topByAmount = top(amounts);
    f.topByQuantity = top(quantities);
    return f;
}
