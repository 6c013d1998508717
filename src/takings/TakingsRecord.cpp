#include "takings/TakingsRecord.h"

#include "pricelist/CurrentArticle.h"
#include "till/SaleState.h"

#include "store/NumberText.h"
#include "store/Padding.h"

namespace {

// Column 1 names who booked the line. A service (code beginning with "/") is
// marked by the sales person's code 32 higher (A gives a, a blank gives @).
// An expense line stays "$" whatever its code.
char column1(char person, const std::string& code) {
    bool service = !code.empty() && code.front() == '/';
    if (!service || person == ExpenseBooker) return person;
    return static_cast<char>(static_cast<unsigned char>(person) + 32);
}

std::string field(double x, int width) {
    return " " + FormatFixed(x, width, 2);
}

} // namespace

char SalesPersonColumn(const SaleState& sale) {
    return sale.CurrentSalesPerson.empty() ? ' ' : sale.CurrentSalesPerson.front();
}

std::string ResultsLineText(char bookedBy, const SaleState& sale, const CurrentArticle& article) {
    return LineRecordText(column1(bookedBy, sale.EnteredCode), sale.EnteredCode,
                          {sale.Quantity, article.WholesalePrice, article.SalePrice, sale.UnitPrice,
                           sale.LineAmount});
}

std::string LineRecordText(char marker, const std::string& code, const LineFigures& figures) {
    // The code is kept left-aligned in its 13 columns, as the price list and
    // the consolidation have it, even if a caller passes it unpadded.
    return std::string(1, marker) + " " + PadRight(code, 13) + field(figures.quantity, 8) +
           field(figures.wholesale, 10) + field(figures.listPrice, 12) +
           field(figures.unitPrice, 12) + field(figures.amount, 13);
}

std::string ResultsTotalText(const SaleState& sale, const std::string& clockText) {
    return "# Total***" + PadLeft(clockText, 5) + field(sale.PaidCash, 7) +
           field(sale.PaidCheque, 8) + field(sale.PaidCredit, 8) + std::string(10, ' ') +
           FormatFixed(sale.SaleTax, 7, 2) + field(sale.SaleTotal, 11) + field(sale.Received, 11) +
           field(sale.ChangeDue, 5);
}

std::string StartRecordText(const std::string& dateTimeText) {
    return "* START of SALE   " + dateTimeText.substr(0, 14);
}
