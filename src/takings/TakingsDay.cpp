#include "takings/TakingsDay.h"

#include "store/DataFiles.h"
#include "store/TextReader.h"
#include "takings/TakingsReader.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

double toCents(double x) {
    return std::round(x * 100) / 100;
}

// The lines of the group since the last total record.
struct Group {
    bool expense = false;
    bool any = false;
    double amounts = 0;
};

void addGroup(const Group& group, const TakingsEntry& total, bool roundingOn, TakingsDay& day) {
    DayTotals& t = day.totals;
    t.TaxTotal += total.tax;
    if (group.expense) {
        t.ExpenseTotal += total.total;
        ++day.expenses;
        return;
    }
    std::string_view clock = total.clock;
    while (!clock.empty() && clock.front() == ' ')
        clock.remove_prefix(1);
    day.lastSaleClock = std::string(clock);
    t.TakingsCash += total.cash;
    t.TakingsCheque += total.cheque;
    t.TakingsCredit += total.credit;
    t.TotalTakings += total.total;
    if (roundingOn) t.RoundingTotal += toCents(total.total - group.amounts - total.tax);
    // A cancelled sale's reversal and its empty total are no sale at all.
    if (!group.any || (total.total == 0 && group.amounts == 0)) return;
    ++(total.total < 0 ? day.refunds : day.sales);
}

} // namespace

double CashInDrawer(const DayTotals& day) {
    return day.TakingsCash + day.ExpenseTotal;
}

TakingsDay ReadTakingsDay(const DataFiles& files, bool roundingOn) {
    TakingsDay day;
    std::optional<TextReader> file = TextReader::Open(files.pathOf("Results.dat"));
    if (!file) return day;
    TakingsReader reader(*file);
    TakingsEntry entry;
    Group group;
    while (reader.next(entry)) {
        switch (entry.kind) {
        case TakingsEntry::Kind::Start:
            if (day.firstDate.empty()) {
                std::string_view text = entry.startText;
                text.remove_prefix(std::min(text.size(), text.find_first_not_of(' ')));
                day.firstDate = std::string(text.substr(0, text.find(' ')));
            }
            // Lines a run left without a total were never paid.
            group = Group{};
            break;
        case TakingsEntry::Kind::Line:
            group.expense = entry.marker == '$';
            group.any = true;
            group.amounts += entry.amount;
            break;
        case TakingsEntry::Kind::Total:
            addGroup(group, entry, roundingOn, day);
            group = Group{};
            break;
        }
    }
    day.skippedLines = reader.faultyLines();
    return day;
}
