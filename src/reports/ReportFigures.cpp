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

bool takingsFile(const std::string& name) {
    return name == "Results.dat" || TakingsArchiveDay(name) != 0;
}

// The takings files of the current period, as indices into records.files.
// Each consolidation since the last period end archived one takings file and
// added one "&" line to Daybyday.dat; before the first period end (no balance
// sheet yet) every file belongs to the period.
std::vector<bool> periodFiles(const ShopRecords& records) {
    std::vector<bool> inPeriod(records.files.size(), false);
    const bool periodEnded = !records.balance.empty();
    size_t consolidated = 0;
    for (const DayByDayRow& row : records.days)
        if (row.marker == '&') ++consolidated;
    for (size_t i = records.files.size(); i-- > 0;) {
        if (!takingsFile(records.files[i])) continue;
        if (records.files[i] == "Results.dat") {
            inPeriod[i] = true;
        } else if (!periodEnded || consolidated > 0) {
            inPeriod[i] = true;
            if (consolidated > 0) --consolidated;
        }
    }
    return inPeriod;
}

void periodChart(const ShopRecords& records, ReportFigures& f) {
    const std::vector<bool> inPeriod = periodFiles(records);
    std::map<DayNumber, std::pair<long long, long long>> days; // takings, net
    for (const TakingsTotalRow& row : records.totals) {
        if (!inPeriod[row.source.file]) continue;
        auto& [takings, net] = days[row.day];
        if (row.kind != TakingsTotalRow::Kind::Expense) takings += row.total;
        net += row.total;
    }
    long long balance = 0;
    for (const auto& [day, sums] : days) {
        balance += sums.second;
        f.periodDays.push_back({IsoDateText(day), sums.first});
        f.periodBalance.push_back(balance);
    }
}

} // namespace

ReportFigures ComputeReportFigures(const ShopRecords& records) {
    ReportFigures f;
    PeriodTotals& t = f.totals;
    std::map<DayNumber, long long> days;
    std::map<int, long long> months;   // yyyymm
    std::map<int, long long> monthNet; // takings less expenses
    for (const TakingsTotalRow& row : records.totals) {
        monthNet[row.day / 100] += row.total;
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
        // The balance runs over the twelve months shown, from the first.
        long long balance = 0;
        for (int i = 0; i < 12; ++i) {
            month = month % 100 == 12 ? month + 89 : month + 1;
            auto found = monthNet.find(month);
            balance += found == monthNet.end() ? 0 : found->second;
            f.monthBalance.push_back(balance);
        }
    }
    periodChart(records, f);

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
