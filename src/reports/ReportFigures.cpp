#include "reports/ReportFigures.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace {

constexpr size_t TopCount = 20;

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

std::vector<ChartBar> top(const std::vector<std::pair<std::string, long long>>& sums) {
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

} // namespace

void FiguresVisitor::file(const std::string& name) {
    FileSums& sums = m_files.emplace_back();
    sums.takingsFile = takingsFile(name);
    sums.live = name == "Results.dat";
}

void FiguresVisitor::takingsLine(const TakingsLineRow& line) {
    if (!line.paid || line.kind == TakingsLineRow::Kind::Expense) return;
    const auto person = static_cast<unsigned char>(line.person);
    m_perPerson[person] += line.amount;
    m_personSeen[person] = true;
    if (line.kind == TakingsLineRow::Kind::Service) return;
    auto& [amount, quantity] = m_articles[line.code];
    amount += line.amount;
    quantity += line.quantity;
}

void FiguresVisitor::takingsTotal(const TakingsTotalRow& row) {
    PeriodTotals& t = m_totals;
    if (!m_anyTotal) m_firstDay = row.day;
    m_anyTotal = true;
    m_lastDay = row.day;
    FileSums& file = m_files[row.source.file];
    file.day = row.day;
    file.hasTotals = true;
    file.net += row.total;
    if (row.kind == TakingsTotalRow::Kind::Expense) {
        ++t.expenses;
        t.expenseTotal -= row.total;
        t.tax += row.tax;
        return;
    }
    ++(row.kind == TakingsTotalRow::Kind::Refund ? t.refunds : t.sales);
    t.takings += row.total;
    t.cash += row.cash;
    t.cheque += row.cheque;
    t.credit += row.credit;
    t.tax += row.tax;
    file.hasTakings = true;
    file.takings += row.total;
    const int hour = hourOf(row.clock);
    if (hour >= 0) m_perHour[static_cast<size_t>(hour)] += row.total;
}

void FiguresVisitor::dayByDay(const DayByDayRow& row) {
    if (row.marker == '&' && !row.archived) ++m_consolidations;
}

void FiguresVisitor::salesPerson(const SalesPersonRow& row) {
    if (row.archived) return;
    std::string& name = m_personName[static_cast<unsigned char>(row.code)];
    if (name.empty()) name = row.name.empty() ? " " : row.name;
}

void FiguresVisitor::balance(const BalanceRow&) {
    m_periodEnded = true;
}

ReportFigures FiguresVisitor::figures() const {
    ReportFigures f;
    f.totals = m_totals;
    f.perHour = m_perHour;
    f.firstDay = m_firstDay;
    f.lastDay = m_lastDay;
    std::map<DayNumber, long long> days;
    std::map<int, long long> months;   // yyyymm
    std::map<int, long long> monthNet; // takings less expenses
    for (const FileSums& file : m_files) {
        if (!file.hasTotals) continue;
        monthNet[file.day / 100] += file.net;
        if (!file.hasTakings) continue;
        days[file.day] += file.takings;
        months[file.day / 100] += file.takings;
    }
    for (const auto& [day, value] : days)
        f.perDay.push_back({IsoDateText(day), value});
    if (m_anyTotal) {
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

    // The current period: each consolidation since the last period end
    // archived one takings file and added one "&" line to Daybyday.dat;
    // before the first period end (no balance sheet yet) every file belongs
    // to the period, and the live takings always do.
    std::vector<bool> inPeriod(m_files.size(), false);
    size_t consolidated = m_consolidations;
    for (size_t i = m_files.size(); i-- > 0;) {
        if (!m_files[i].takingsFile) continue;
        if (m_files[i].live) {
            inPeriod[i] = true;
        } else if (!m_periodEnded || consolidated > 0) {
            inPeriod[i] = true;
            if (consolidated > 0) --consolidated;
        }
    }
    std::map<DayNumber, std::pair<long long, long long>> periodDays; // takings, net
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!inPeriod[i] || !m_files[i].hasTotals) continue;
        auto& [takings, net] = periodDays[m_files[i].day];
        takings += m_files[i].takings;
        net += m_files[i].net;
    }
    long long running = 0;
    for (const auto& [day, sums] : periodDays) {
        running += sums.second;
        f.periodDays.push_back({IsoDateText(day), sums.first});
        f.periodBalance.push_back(running);
    }

    // Ordered by the code as a char, as the charts always showed them.
    for (int c = -128; c < 128; ++c) {
        const auto code = static_cast<unsigned char>(static_cast<char>(c));
        if (!m_personSeen[code]) continue;
        std::string label(1, static_cast<char>(c));
        const std::string& name = m_personName[code];
        if (!name.empty() && name != " ") label += " " + name;
        f.perPerson.push_back({label, m_perPerson[code]});
    }
    std::vector<std::pair<std::string, long long>> amounts, quantities;
    amounts.reserve(m_articles.size());
    quantities.reserve(m_articles.size());
    for (const auto& [code, sums] : m_articles) {
        amounts.emplace_back(code, sums.first);
        quantities.emplace_back(code, sums.second);
    }
    f.topByAmount = top(amounts);
    f.topByQuantity = top(quantities);
    return f;
}

ReportFigures ReadReportFigures(const RecordsRequest& request) {
    FiguresVisitor visitor;
    ReadShopRecords(request, visitor);
    return visitor.figures();
}
