#pragma once

#include "platform/Regional.h"
#include "store/Configuration.h"
#include "store/Notice.h"
#include "till/SaleState.h"

#include <string>
#include <vector>

struct CurrentArticle;

// What a line's takings record holds of its prices. Records always hold
// amounts without tax, whatever the price list holds: with prices that
// include tax the list price and the unit price each lose the tax they
// include (in whole cents, cut), and the amount loses the line's tax, so that
// the recorded amount and the line's tax make what the customer pays for it.
struct RecordedPrices {
    double salePrice = 0;
    double unitPrice = 0;
    double lineAmount = 0;
};

// What the sales screen shows after a confirmed line.
struct LineResult {
    // The line amount was over the limit: no journal line, totals untouched,
    // LineAmount and the article's SalePrice are 0 (the screen shows help line 18).
    bool refused = false;
    // The journal line for Memo2; empty when refused.
    std::string journalLine;
    // The line's tax in whole cents (negative for a return, 0 without tax).
    double lineTax = 0;
    // For the takings record (the sale keeps the prices as the customer sees them).
    RecordedPrices recorded;
};

struct PaymentResult {
    // The payments cover the total: ChangeDue and the change display texts are set.
    // Otherwise Balance holds the (negative) amount still to pay.
    bool covered = false;
};

// A new sale begins when the cursor leaves the sales-person field: the amounts
// of the last sale (kept so far for its total record and the screen) are
// cleared, with the tender flags and SaleHasLines.
void BeginNewSale(SaleState& sale, CurrentArticle& article);

// Computes the line confirmed with sale.Quantity and sale.DiscountPercent for
// the article and adds it to the running totals. A line from a weight or
// price label (sale.LabelMeasure set) comes to the label's measure times its
// unit price, cut to cents.
//
// In return mode the amounts are computed from positive values and then
// negated: sale.Quantity, sale.UnitPrice, sale.LineAmount and the article's
// WholesalePrice and SalePrice are left negative, because the takings record
// and the docket line are written from them afterwards. The next lookup
// refills the article.
// What the sale comes to so far, with the tax it will be charged: the lines
// and the tax on them (or in them), before the total is rounded at F.
double RunningTotal(const SaleState& sale, const Configuration& config);

// The line is taxed at taxRate, its article's rate (the configuration's
// TaxRate unless Taxes.dat gives its code another); tax mode stays the
// shop's, so a rate of 0 there still shows the line's tax of 0.
LineResult ComputeLine(const Configuration& config, const RegionalFormats& formats,
                       CurrentArticle& article, SaleState& sale, double taxRate);
inline LineResult ComputeLine(const Configuration& config, const RegionalFormats& formats,
                              CurrentArticle& article, SaleState& sale) {
    return ComputeLine(config, formats, article, sale, config.TaxRate);
}

struct TotalsResult {
    std::vector<std::string> journalLines; // in order
    Notices notices;                       // shown before the lines
};

// The tax that an amount including tax at `rate` percent holds, in whole
// cents cut toward zero: amount x rate / (100 + rate).
double IncludedTax(double amount, double rate);

// The totals block at F: adds the tax (or shows the tax included), rounds
// when the shop rounds, settles
// SaleTotal as the amount to pay and returns the journal lines.
TotalsResult ComputeTotals(const Configuration& config, const RegionalFormats& formats,
                           SaleState& sale);

// Books one payment with the tender chosen in the sale's tender flags.
PaymentResult TakePayment(SaleState& sale, double amount, const Configuration& config,
                          const RegionalFormats& formats);

// Ends a paid sale: the change comes out of the cash, and the sale is added
// to the day's totals. The sale's figures stay for its total record.
void EndSale(SaleState& sale, DayTotals& day);
