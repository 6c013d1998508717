#include "consolidation/DayResults.h"

#include "store/NumberText.h"
#include "takings/TakingsReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Index of each configured sales person with this code; a code configured
// twice counts for both, as the table of persons is laid out.
template <typename F> void forEachPerson(const Configuration& config, char code, F&& f) {
    for (size_t i = 0; i < config.SalesPersonCode.size(); ++i)
        if (config.SalesPersonCode[i].size() == 1 && config.SalesPersonCode[i][0] == code) f(i);
}

void addValues(ConsolidationTotals& t, const TakingsEntry& e, double factor) {
    t.TotWholesale += e.wholesale * factor;
    t.TotListValue += e.listPrice * factor;
    t.TotSalesValue += e.unitPrice * factor;
}

void count(const TakingsEntry& e, const Configuration& config, const std::string& DateText,
           DayResults& day) {
    ConsolidationTotals& t = day.totals;
    SalesPersonTotals& p = day.persons;
    const char m = e.marker;
    if (m == '*') {
        day.headerText = std::string(e.startText);
        day.dayByDayLines.push_back("* " + day.headerText + "    ***   " + DateText);
    } else if (m == '#') {
        t.TotCash += e.cash;
        t.TotCheque += e.cheque;
        t.TotCredit += e.credit;
        t.TotTax += e.tax;
        t.TotNet += e.total;
    } else if (m == '$') {
        t.TotExpenses += e.amount;
    } else if (m == '@') {
        // A service booked without a sales person: counted as the records
        // of that kind always have been.
        t.TotQuantity += e.quantity;
        addValues(t, e, -e.quantity);
        t.TotNet += e.amount;
    } else if (m >= 'A' && m <= 'Z') {
        t.TotQuantity += e.quantity;
        addValues(t, e, std::fabs(e.quantity));
        forEachPerson(config, m, [&](size_t i) {
            p.SpSalesQty[i] += e.quantity;
            p.SpSalesTotal[i] += e.amount;
        });
    } else {
        t.TotServicesQty += e.quantity;
        addValues(t, e, std::fabs(e.quantity));
        t.TotServicesTotal += e.amount;
        forEachPerson(config, static_cast<char>(m - 32), [&](size_t i) {
            p.SpServicesQty[i] += e.quantity;
            p.SpServicesTotal[i] += e.amount;
        });
    }
}

// A line record as the sums per code need it, kept until the file is read.
struct CodeLine {
    char code[13];
    unsigned char length;
    bool expense;
    double quantity;
    double amount;
    std::string_view view() const { return std::string_view(code, length); }
};

void keepForCode(std::vector<CodeLine>& lines, const TakingsEntry& e) {
    if (e.kind != TakingsEntry::Kind::Line) return;
    CodeLine& line = lines.emplace_back();
    line.length = static_cast<unsigned char>(std::min(e.code.size(), sizeof line.code));
    std::memcpy(line.code, e.code.data(), line.length);
    line.expense = e.marker == '$';
    line.quantity = e.quantity;
    line.amount = e.amount;
}

// The sums per code, adding in file order. The table outgrows the caches
// and the codes come in no order, so the lines are summed after the reading,
// with the slot and the entry of the codes a few lines on fetched ahead.
void sumByCode(const std::vector<CodeLine>& lines, CodeTable<CodeTakings>& byCode) {
    constexpr size_t SlotsAhead = 16;
    constexpr size_t EntriesAhead = 8;
    byCode.reserve(lines.size());
    for (size_t n = 0; n < lines.size(); ++n) {
        if (n + SlotsAhead < lines.size()) byCode.prefetch(lines[n + SlotsAhead].view(), false);
        if (n + EntriesAhead < lines.size()) byCode.prefetch(lines[n + EntriesAhead].view(), true);
        const CodeLine& line = lines[n];
        CodeTakings& sums = byCode[line.view()];
        if (line.expense) {
            sums.expense += line.amount;
        } else {
            sums.quantity += line.quantity;
            sums.amount += line.amount;
        }
    }
}

} // namespace

std::string DayQuantitiesLine(const ConsolidationTotals& t) {
    return "#" + FormatFixed(t.TotQuantity, 5, 1) + " " + FormatFixed(t.TotWholesale, 10, 2) + " " +
           FormatFixed(t.TotListValue, 11, 2) + " " + FormatFixed(t.TotSalesValue, 11, 2) + " " +
           FormatFixed(t.TotCash, 12, 2) + " " + FormatFixed(t.TotCheque, 11, 2) + " " +
           FormatFixed(t.TotCredit, 12, 2);
}

std::string DayAmountsLine(const ConsolidationTotals& t) {
    return "&" + FormatFixed(t.TotServicesTotal, 28, 2) + " " + FormatFixed(t.TotTax, 11, 2) + " " +
           FormatFixed(t.TotTakings, 12, 2) + " " + FormatFixed(t.TotExpenses, 11, 2) + " " +
           FormatFixed(t.TotNet, 12, 2) + "  ";
}

bool ReadDayResults(const std::string& resultsPath, const Configuration& config,
                    const std::string& DateText, DayResults& day) {
    day = DayResults{};
    TakingsReader reader;
    if (!reader.open(resultsPath)) return false;
    TakingsEntry entry;
    std::vector<CodeLine> codeLines;
    while (reader.next(entry)) {
        count(entry, config, DateText, day);
        keepForCode(codeLines, entry);
    }
    reader.close();
    sumByCode(codeLines, day.byCode);
    day.faultyLines = reader.faultyLines();
    day.firstFaultyLine = reader.firstFaultyLine();
    day.firstFaultyText = reader.firstFaultyText();
    // Expense amounts are stored negative.
    day.totals.TotExpenses = -day.totals.TotExpenses;
    day.totals.TotTakings = day.totals.TotNet + day.totals.TotExpenses;
    day.dayByDayLines.push_back(DayQuantitiesLine(day.totals));
    day.dayByDayLines.push_back(DayAmountsLine(day.totals));
    return true;
}
