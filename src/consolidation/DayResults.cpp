#include "consolidation/DayResults.h"

#include "store/NumberText.h"
#include "takings/TakingsReader.h"

#include <cmath>

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

void addToCode(DayResults& day, const TakingsEntry& e) {
    if (e.kind != TakingsEntry::Kind::Line) return;
    CodeTakings& sums = day.byCode[e.code];
    if (e.marker == '$') {
        sums.expense += e.amount;
    } else {
        sums.quantity += e.quantity;
        sums.amount += e.amount;
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
    while (reader.next(entry)) {
        count(entry, config, DateText, day);
        addToCode(day, entry);
    }
    reader.close();
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
