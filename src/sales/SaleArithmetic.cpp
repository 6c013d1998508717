#include "sales/SaleArithmetic.h"

#include "pricelist/CurrentArticle.h"
#include "sales/Rounding.h"
#include "store/AmountText.h"
#include "store/NumberEntry.h"
#include "store/NumberParse.h"
#include "store/NumberText.h"
#include "store/Padding.h"
#include "till/SaleState.h"

#include <cmath>

namespace {

// Payments are whole cents but their sum is not re-read like the total, so
// 0.70 + 0.10 can fall a hair short of 0.80; anything under half a cent is no
// real shortfall.
constexpr double HalfCent = 0.005;

// amount × percent / 100 in whole cents, cut toward zero: the discount and the
// tax never round a cent up.
double percentInWholeCents(double amount, double percent) {
    return CutWhole(amount * percent) / 100;
}

double discountedUnitPrice(double salePrice, double discountPercent) {
    if (discountPercent <= 0) return salePrice;
    return ThreeDecimalForm(salePrice - percentInWholeCents(salePrice, discountPercent));
}

bool taxIncluded(const Configuration& config) {
    return config.TaxOn && config.PricesIncludeTax;
}

RecordedPrices recordedPrices(const Configuration& config, double taxRate,
                              const CurrentArticle& article, const SaleState& sale,
                              double lineTax) {
    if (!taxIncluded(config)) return {article.SalePrice, sale.UnitPrice, sale.LineAmount};
    return {article.SalePrice - IncludedTax(article.SalePrice, taxRate),
            sale.UnitPrice - IncludedTax(sale.UnitPrice, taxRate), sale.LineAmount - lineTax};
}

void negateForReturn(CurrentArticle& article, SaleState& sale, double& lineTax,
                     RecordedPrices& recorded) {
    recorded = {-recorded.salePrice, -recorded.unitPrice, -recorded.lineAmount};
    lineTax = -lineTax;
    sale.Quantity = -sale.Quantity;
    article.WholesalePrice = -article.WholesalePrice;
    article.SalePrice = -article.SalePrice;
    sale.UnitPrice = -sale.UnitPrice;
    sale.LineAmount = -sale.LineAmount;
}

// A line with its tax: added (" +" and the tax in 10) or included (" incl"
// and the tax in 7), so both end in the same column.
std::string taxJournalLine(const RegionalFormats& formats, const CurrentArticle& article,
                           const SaleState& sale, double lineTax, bool included) {
    return "  " + PadRight(article.ArticleDescription, 27) +
           PadLeft(CurrencyText(sale.UnitPrice, formats), 11) + " x" +
           PadLeft(GeneralText(sale.Quantity, 6, formats.decimalSeparator), 7) + " =" +
           PadLeft(CurrencyText(sale.LineAmount, formats), 11) + (included ? " incl" : " +") +
           PadLeft(CurrencyText(lineTax, formats, 9), included ? 7 : 10);
}

std::string plainJournalLine(const RegionalFormats& formats, const CurrentArticle& article,
                             const SaleState& sale) {
    return std::string(5, ' ') + PadRight(article.ArticleDescription, 28) +
           PadLeft(CurrencyText(sale.UnitPrice, formats), 11) + "    x" +
           PadLeft(GeneralText(sale.Quantity, 7, formats.decimalSeparator), 7) + "   =" +
           PadLeft(CurrencyText(sale.LineAmount, formats), 11);
}

void addLineTax(SaleState& sale, double lineTax) {
    sale.LineTaxSum = ThreeDecimalForm(CutToCents(sale.LineTaxSum + lineTax));
}

std::string totalsLine(int indent, const char* label, double amount,
                       const RegionalFormats& formats) {
    return std::string(static_cast<size_t>(indent), ' ') + label +
           PadLeft(CurrencyText(amount, formats), 10);
}

void appendRounding(TotalsResult& result, int indent, const Configuration& config,
                    const RegionalFormats& formats, SaleState& sale) {
    std::vector<std::string>& lines = result.journalLines;
    if (!RoundToDenomination(config, sale)) result.notices.push_back({"Math error !"});
    lines.push_back(totalsLine(indent, "ROUNDING        = ", sale.RoundingAmount, formats));
    lines.push_back(totalsLine(indent, "TOTAL           = ", sale.SaleTotal, formats));
}

// The amount to pay is fixed by its 3-decimal text cut to 10 characters, so
// that a refund typed as text compares equal to it. From 1,000,000 on the cut
// drops decimals.
void settleSaleTotal(SaleState& sale) {
    std::string text = FormatFixed(sale.SaleTotal, 9, 3).substr(0, 10);
    sale.SaleTotal = ParseReal(text).value;
}

} // namespace

void BeginNewSale(SaleState& sale, CurrentArticle& article) {
    sale.PaidCash = 0;
    sale.PaidCheque = 0;
    sale.PaidCredit = 0;
    sale.ChangeDue = 0;
    article.WholesalePrice = 0;
    article.SalePrice = 0;
    sale.UnitPrice = 0;
    sale.Quantity = 0;
    sale.RoundingAmount = 0;
    sale.Received = 0;
    sale.LineTaxSum = 0;
    sale.SaleTax = 0;
    sale.SaleTotal = 0;
    sale.LineAmount = 0;
    sale.SaleSubtotal = 0;
    sale.PayCash = false;
    sale.PayCheque = false;
    sale.PayCredit = false;
    sale.SaleHasLines = false;
    sale.TaxByRate.clear();
}

double RunningTotal(const SaleState& sale, const Configuration& config) {
    return sale.SaleSubtotal + (config.TaxOn && !config.PricesIncludeTax ? sale.LineTaxSum : 0);
}

double IncludedTax(double amount, double rate) {
    // amount x rate x 100 / (100 + rate) is never closer than 5e-7 below a
    // whole cent unless it is one (amounts have at most 4 decimals, rates
    // 2), so the nudge only keeps a whole cent that the division left a hair
    // short of from losing it.
    return CutWhole(amount * rate * 100 / (100 + rate) + 1e-7) / 100;
}

LineResult ComputeLine(const Configuration& config, const RegionalFormats& formats,
                       CurrentArticle& article, SaleState& sale, double taxRate) {
    LineResult result;
    if (sale.LabelMeasure > 0) {
        // The label's own measure, not the quantity rounded for the record.
        sale.UnitPrice = discountedUnitPrice(sale.LabelUnitPrice, sale.DiscountPercent);
        sale.LineAmount = CutToCents(sale.UnitPrice * sale.LabelMeasure);
    } else {
        sale.UnitPrice = discountedUnitPrice(article.SalePrice, sale.DiscountPercent);
        sale.LineAmount = sale.UnitPrice * sale.Quantity;
    }
    if (sale.LineAmount > AmountLimit) {
        sale.LineAmount = 0;
        article.SalePrice = 0;
        result.recorded = recordedPrices(config, taxRate, article, sale, 0);
        result.refused = true;
        return result;
    }
    if (taxIncluded(config))
        result.lineTax = IncludedTax(sale.LineAmount, taxRate);
    else if (config.TaxOn)
        result.lineTax = percentInWholeCents(sale.LineAmount, taxRate);
    result.recorded = recordedPrices(config, taxRate, article, sale, result.lineTax);
    if (sale.ReturnMode) negateForReturn(article, sale, result.lineTax, result.recorded);

    if (taxIncluded(config)) {
        result.journalLine = taxJournalLine(formats, article, sale, result.lineTax, true);
        addLineTax(sale, result.lineTax);
    } else if (config.TaxOn) {
        result.journalLine = taxJournalLine(formats, article, sale, result.lineTax, false);
        addLineTax(sale, result.lineTax);
    } else {
        result.journalLine = plainJournalLine(formats, article, sale);
    }
    if (config.TaxOn) AddRateTax(sale.TaxByRate, taxRate, result.lineTax);
    sale.SaleTotal += sale.LineAmount;
    sale.SaleSubtotal = sale.SaleTotal;
    sale.DisplayValue = CurrencyText(sale.SaleTotal, formats);
    sale.DisplayText = article.ArticleDescription;
    return result;
}

TotalsResult ComputeTotals(const Configuration& config, const RegionalFormats& formats,
                           SaleState& sale) {
    TotalsResult result;
    std::vector<std::string>& lines = result.journalLines;
    if (taxIncluded(config)) {
        // The lines already hold the tax: it is shown, not added.
        lines.push_back("  " + std::string(72, '-'));
        lines.push_back(totalsLine(26, "SUBTOTAL        = ", sale.SaleSubtotal, formats));
        lines.push_back(totalsLine(26, "TAX incl.       = ", sale.LineTaxSum, formats));
        sale.SaleTax += sale.LineTaxSum;
        if (config.RoundingOn)
            appendRounding(result, 26, config, formats, sale);
        else
            lines.push_back(totalsLine(26, "TOTAL           = ", sale.SaleTotal, formats));
    } else if (config.TaxOn) {
        lines.push_back("  " + std::string(72, '-'));
        lines.push_back(totalsLine(26, "SUBTOTAL        = ", sale.SaleSubtotal, formats));
        lines.push_back(totalsLine(26, "TAX             = ", sale.LineTaxSum, formats));
        sale.SaleTotal += sale.LineTaxSum;
        sale.SaleTax += sale.LineTaxSum;
        lines.push_back(totalsLine(26, "TOTAL and TAX   = ", sale.SaleTotal, formats));
        if (config.RoundingOn) appendRounding(result, 26, config, formats, sale);
    } else {
        lines.push_back(std::string(5, ' ') + std::string(66, '-'));
        if (config.RoundingOn) {
            lines.push_back(totalsLine(43, "SUBTOTAL        = ", sale.SaleSubtotal, formats));
            appendRounding(result, 43, config, formats, sale);
        } else {
            lines.push_back(totalsLine(43, "TOTAL           = ", sale.SaleSubtotal, formats));
        }
    }
    settleSaleTotal(sale);
    sale.DisplayValue = CurrencyText(sale.SaleTotal, formats);
    sale.DisplayText = (config.LabelTotal + std::string(10, ' ')).substr(0, 18);
    return result;
}

PaymentResult TakePayment(SaleState& sale, double amount, const Configuration& config,
                          const RegionalFormats& formats) {
    if (sale.PayCash) sale.PaidCash += amount;
    if (sale.PayCheque) sale.PaidCheque += amount;
    if (sale.PayCredit) sale.PaidCredit += amount;
    sale.Received += amount;
    if (sale.SaleTotal - sale.Received >= HalfCent) {
        sale.Balance = sale.Received - sale.SaleTotal;
        return {false};
    }
    sale.ChangeDue = sale.Received - sale.SaleTotal;
    sale.DisplayText = (config.LabelChange + std::string(10, ' ')).substr(0, 24);
    sale.DisplayValue = CurrencyText(sale.ChangeDue, formats);
    return {true};
}

void EndSale(SaleState& sale, DayTotals& day) {
    sale.PaidCash -= sale.ChangeDue;
    day.TakingsCash += sale.PaidCash;
    day.TakingsCheque += sale.PaidCheque;
    day.TakingsCredit += sale.PaidCredit;
    day.TaxTotal += sale.SaleTax;
    day.RoundingTotal += sale.RoundingAmount;
    day.TotalTakings += sale.SaleTotal;
}
