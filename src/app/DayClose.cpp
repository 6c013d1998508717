#include "app/DayClose.h"

#include "store/AmountText.h"
#include "store/Padding.h"

std::vector<std::string> TodaysTotalsLines(const DayTotals& day, bool taxOn,
                                           const RegionalFormats& formats, const std::string& since,
                                           size_t skipped) {
    std::vector<std::string> lines = {" ", " ", " ", "Todays Totals are:"};
    if (!since.empty()) lines.push_back("(since " + since + ")");
    lines.push_back(" ");
    auto add = [&](const char* label, double value) {
        lines.push_back(label + PadLeft(CurrencyText(value, formats), 16));
    };
    add("Takings Cash  ", day.TakingsCash);
    add("Takings Cheque", day.TakingsCheque);
    add("Takings Credit", day.TakingsCredit);
    add("Rounding Total", day.RoundingTotal);
    add("Expense Total ", day.ExpenseTotal);
    if (taxOn) add("Tax of tak/exp", day.TaxTotal);
    lines.push_back(" ");
    add("Total takings ", day.TotalTakings);
    lines.push_back(" ");
    add("Cash in Drawer", CashInDrawer(day));
    if (skipped > 0)
        lines.push_back(std::to_string(skipped) +
                        (skipped == 1 ? " unreadable line" : " unreadable lines") +
                        " left out of the totals");
    return lines;
}
