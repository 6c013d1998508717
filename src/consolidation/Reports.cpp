#include "consolidation/Reports.h"

#include "devices/Docket.h"
#include "store/AmountText.h"
#include "store/Padding.h"

std::vector<std::string> DayReportLines(const ConsolidationTotals& t, const std::string& headerText,
                                        const RegionalFormats& formats,
                                        const TaxShares& taxShares) {
    const char point = formats.decimalSeparator;
    auto currency = [&](double x) { return PadLeft(CurrencyText(x, formats), 12); };
    std::vector<std::string> lines = {" ", ("Results of     " + headerText).substr(0, 44), " "};
    lines.push_back("Quantity sold       " + PadLeft(GeneralText(t.TotQuantity, 15, point), 12));
    lines.push_back("Wholesale cost      " + currency(t.TotWholesale));
    lines.push_back("Sales price         " + currency(t.TotSalesValue - t.TotServicesTotal));
    lines.push_back("Qty of Services     " + PadLeft(GeneralText(t.TotServicesQty, 10, point), 12));
    lines.push_back("Services Total      " + currency(t.TotServicesTotal));
    lines.push_back("Cash takings        " + currency(t.TotCash));
    lines.push_back("Cheque takings      " + currency(t.TotCheque));
    lines.push_back("Credit takings      " + currency(t.TotCredit));
    lines.push_back("Taxtotal            " + currency(t.TotTax));
    if (taxShares.byRate.size() > 1) {
        for (const RateTax& share : taxShares.byRate)
            lines.push_back(PadRight("  at " + RateText(share.rate), 20) + currency(share.tax));
        if (taxShares.expenses != 0)
            lines.push_back("  on expenses       " + currency(taxShares.expenses));
    }
    lines.push_back("Total takings       " + currency(t.TotTakings));
    lines.push_back("Expenses            " + currency(t.TotExpenses));
    lines.push_back(" ");
    lines.push_back("Balance             " + currency(t.TotNet));
    return lines;
}

std::vector<std::string> SalesPersonTableLines(const SalesPersonTotals& p,
                                               const Configuration& config,
                                               const RegionalFormats& formats) {
    const char point = formats.decimalSeparator;
    std::vector<std::string> lines = {
        " ", " ", " ", " ", "Sale's person     Services         Sales Totals", " "};
    for (size_t i = 0; i < config.SalesPersonName.size(); ++i)
        lines.push_back(PadRight(PadRight(config.SalesPersonName[i], 9), 10) +
                        PadLeft(GeneralText(p.SpServicesQty[i], 8, point), 8) +
                        PadLeft(CurrencyText(p.SpServicesTotal[i], formats), 10) +
                        PadLeft(GeneralText(p.SpSalesQty[i], 10, point), 9) +
                        PadLeft(CurrencyText(p.SpSalesTotal[i], formats), 10));
    return lines;
}

void WriteReportToDocketFile(const std::string& docketPath, const std::vector<std::string>& lines) {
    // The report goes out as the article rows of a docket, as today's totals do.
    WriteTotalsDocket(docketPath, lines);
}
