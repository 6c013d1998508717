#include "expenses/ExpenseArithmetic.h"

#include "pricelist/CurrentArticle.h"
#include "store/AmountText.h"
#include "store/Padding.h"
#include "till/SaleState.h"

namespace {

const std::string TotalIndent(26, ' ');

std::string totalLine(const char* label, const std::string& amount) {
    return TotalIndent + label + PadLeft(amount, 10);
}

} // namespace

std::string BookExpenseLine(SaleState& sale, CurrentArticle& article,
                            const RegionalFormats& formats) {
    sale.SaleHasLines = true;
    sale.Quantity = 0;
    article.WholesalePrice = 0;
    article.SalePrice = 0;
    sale.ExpenseAmount = -sale.ExpenseAmount;
    sale.UnitPrice = sale.ExpenseAmount;
    sale.LineAmount = sale.ExpenseAmount;
    sale.ExpenseSum += sale.LineAmount;
    sale.SaleSubtotal = sale.LineAmount;
    const std::string amount = CurrencyText(sale.ExpenseAmount, formats);
    sale.DisplayText = article.ArticleDescription;
    sale.DisplayValue = amount;
    return std::string(9, ' ') + PadRight(sale.EnteredCode, 17) +
           PadRight(article.ArticleDescription, 26) + std::string(5, ' ') + PadLeft(amount, 11);
}

std::string BookExpenseTax(SaleState& sale, double tax, const std::string& labelTax,
                           const RegionalFormats& formats, bool taxIncluded) {
    sale.LineTaxSum = -tax;
    sale.SaleTax += sale.LineTaxSum;
    if (taxIncluded) {
        sale.UnitPrice -= sale.LineTaxSum;
        sale.ExpenseSum -= sale.LineTaxSum;
        return PadLeft(labelTax + " incl.", 29) + PadLeft(CurrencyText(tax, formats), 26);
    }
    sale.LineAmount += sale.LineTaxSum;
    return PadLeft(labelTax, 29) + PadLeft(CurrencyText(tax, formats), 26);
}

ExpenseTotals ComputeExpenseTotals(bool taxOn, SaleState& sale, const RegionalFormats& formats) {
    ExpenseTotals totals;
    totals.sumText = CurrencyText(sale.ExpenseSum, formats);
    totals.journalLines.push_back(std::string(9, ' ') + std::string(59, '-'));
    if (!taxOn) {
        totals.journalLines.push_back(totalLine("EXPENSE TOTAL   = ", totals.sumText));
        sale.SaleTotal = sale.ExpenseSum;
        totals.payText = totals.sumText;
        return totals;
    }
    totals.journalLines.push_back(totalLine("TOTAL            = ", totals.sumText));
    totals.taxText = CurrencyText(sale.SaleTax, formats);
    totals.journalLines.push_back(totalLine("TAX              = ", totals.taxText));
    sale.SaleTotal = sale.ExpenseSum + sale.SaleTax;
    totals.payText = CurrencyText(sale.SaleTotal, formats);
    totals.journalLines.push_back(totalLine("EXPENSE TOTAL    = ", totals.payText));
    return totals;
}

void PayOutExpense(SaleState& sale) {
    sale.Received = sale.SaleTotal;
}

void EndExpense(SaleState& sale, DayTotals& day) {
    day.TaxTotal += sale.SaleTax;
    day.ExpenseTotal += sale.ExpenseSum + sale.SaleTax;
    sale.LineAmount = sale.ExpenseSum;
    sale.LineTaxSum = sale.SaleTax;
    sale.SaleTotal = sale.LineAmount + sale.LineTaxSum;
}
