#include "devices/DocketLines.h"

#include "pricelist/CurrentArticle.h"
#include "store/NumberText.h"
#include "store/Padding.h"
#include "store/ProgramState.h"
#include "till/SaleState.h"

namespace DocketLines {

namespace {

std::string blanks(long n) {
    return std::string(n > 0 ? static_cast<size_t>(n) : 0, ' ');
}

std::string right(const std::string& text, size_t width) {
    return PadLeft(text, width);
}

// Every amount on a docket has 2 decimals.
std::string money(double x, int width) {
    return FormatFixed(x, width, 2);
}

void expenseTotals(const Configuration& c, const SaleState& s, std::vector<std::string>& out) {
    const bool wide = isWide(c);
    const std::string indent = wide ? std::string() : blanks(c.DocketExtraWidth);
    const size_t labelWidth = wide ? 28 : 18;
    out.push_back("4" + blanks(wide ? 15 : 5) + indent + "Expense Total" + money(s.LineAmount, 14));
    if (!c.TaxOn) return;
    out.push_back("4" + indent + right(c.LabelTax, labelWidth) + money(s.LineTaxSum, 14));
    out.push_back("4" + indent + right(c.LabelTotal, labelWidth) + money(s.SaleTotal, 14));
}

// Articles taxed at several rates: the tax of each rate, under the tax line
// and ending where it ends. One rate says nothing more than the tax line.
void rateLines(const Configuration& c, const SaleState& s, size_t width, const std::string& indent,
               int moneyWidth, std::vector<std::string>& out) {
    if (s.TaxByRate.size() < 2) return;
    for (const RateTax& share : s.TaxByRate)
        out.push_back("4" + indent + right(c.LabelTax + " " + RateText(share.rate), width) +
                      money(share.tax, moneyWidth));
}

void wideSaleTotals(const Configuration& c, const SaleState& s, std::vector<std::string>& out) {
    if (c.TaxOn) {
        // Tax the prices include is said in the gap after the tax word.
        const std::string taxWord = c.PricesIncludeTax ? right(c.LabelTax + " incl.", 17)
                                                       : right(c.LabelTax, 12) + blanks(5);
        out.push_back("4" + right(c.LabelSubtotal, 11) + money(s.SaleSubtotal, 14) + taxWord +
                      money(s.LineTaxSum, 14));
        rateLines(c, s, 42, "", 14, out);
        if (c.RoundingOn)
            out.push_back("4" + right(c.LabelRounding, 11) + money(s.RoundingAmount, 14) +
                          right(c.LabelTotal, 14) + money(s.SaleTotal, 17));
        else
            out.push_back("4" + right(c.LabelTotal, 42) + money(s.SaleTotal, 14));
        return;
    }
    if (c.RoundingOn)
        out.push_back("4" + right(c.LabelSubtotal, 11) + money(s.SaleSubtotal, 14) +
                      right(c.LabelRounding, 17) + money(s.RoundingAmount, 14));
    out.push_back("4" + right(c.LabelTotal, 39) + money(s.SaleTotal, 17));
}

void narrowSaleTotals(const Configuration& c, const SaleState& s, std::vector<std::string>& out) {
    const std::string indent = blanks(c.DocketExtraWidth);
    const std::string roundingLine = "4" + right(c.LabelRounding.substr(0, 6), 6) +
                                     money(s.RoundingAmount, 8) + indent + right(c.LabelTotal, 8) +
                                     money(s.SaleTotal, 12);
    if (c.TaxOn) {
        out.push_back("4" + c.LabelSubtotal.substr(0, 6) + money(s.SaleSubtotal, 11) + indent +
                      right(c.LabelTax, 6) + money(s.LineTaxSum, 11));
        rateLines(c, s, 23, indent, 11, out);
        if (c.RoundingOn)
            out.push_back(roundingLine);
        else
            out.push_back("4" + indent + right(c.LabelTotal, 20) + money(s.SaleTotal, 14));
        return;
    }
    out.push_back("4" + indent + right(c.LabelTotal, 21) + money(s.SaleTotal, 13));
    if (c.RoundingOn) out.push_back(roundingLine);
}

} // namespace

bool isWide(const Configuration& config) {
    return config.PrintWidth > 39;
}

std::vector<std::string> articleLines(const Configuration& c, const CurrentArticle& a,
                                      const SaleState& s) {
    if (isWide(c))
        return {"4" + right(a.ArticleDescription, 26) + FormatFixed(s.Quantity, 6, 2) + " x" +
                money(s.UnitPrice, 11) + money(s.LineAmount, 11)};
    return {"4" + right(a.ArticleDescription.substr(0, 20), 20) + " " + money(s.UnitPrice, 10),
            "4" + blanks(c.PrintWidth - 31) + FormatFixed(s.Quantity, 6, 2) + " x " +
                money(s.UnitPrice, 10) + money(s.LineAmount, 12)};
}

std::vector<std::string> totalLines(const Configuration& c, const SaleState& s) {
    std::vector<std::string> out;
    const long dashes = isWide(c) ? 40 : (c.DocketExtraWidth > 0 ? c.DocketExtraWidth : 0) + 18;
    out.push_back("4" + std::string(static_cast<size_t>(dashes), '-'));
    if (s.InExpenseScreen)
        expenseTotals(c, s, out);
    else if (isWide(c))
        wideSaleTotals(c, s, out);
    else
        narrowSaleTotals(c, s, out);
    return out;
}

std::vector<std::string> tenderLines(const Configuration& c, const SaleState& s) {
    const std::string gap = blanks(c.DocketExtraWidth - 4);
    std::vector<std::string> out;
    const std::pair<const std::string*, double> tenders[] = {
        {&c.LabelCreditTender, s.PaidCredit},
        {&c.LabelChequeTender, s.PaidCheque},
        {&c.LabelCashTender, s.PaidCash},
    };
    // A refund (a negative amount) has no paid-with line.
    for (const auto& [word, amount] : tenders)
        if (amount > 0) out.push_back("5" + right(*word, 14) + gap + money(amount, 13));
    out.push_back("5" + right(c.LabelChange, 14) + gap + money(s.ChangeDue, 13));
    return out;
}

std::string servedByLine(const Configuration& c, const std::string& servedByName,
                         const std::string& clockText, const std::string& dateText) {
    return "6" + right(c.LabelServedBy, 10) + " " + PadRight(servedByName, 9) +
           (isWide(c) ? " at " : " ") + clockText + " " + dateText;
}

std::string tillLine(int till) {
    return "6Till " + std::to_string(till);
}

std::string servedByName(const Configuration& c, const std::string& salesPerson,
                         const std::string& previous) {
    for (size_t i = 0; i < c.SalesPersonCode.size(); ++i)
        if (c.SalesPersonCode[i] == salesPerson) return c.SalesPersonName[i];
    return previous;
}

} // namespace DocketLines
