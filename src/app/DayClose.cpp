#include "app/DayClose.h"

#include "store/AmountText.h"
#include "store/Padding.h"

double CashInDrawer(const DayTotals& day) {
    return day.TakingsCash + day.ExpenseTotal;
}

std::vector<std::string> TodaysTotalsLines(const DayTotals& day, bool taxOn,
                                           const RegionalFormats& formats) {
    std::vector<std::string> lines = {" ", " ", " ", "Todays Totals are:", " "};
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
    return lines;
}
