#include "till/Till.h"

#include "devices/DocketVerdict.h"
#include "devices/Printer.h"
#include "devices/SerialDevices.h"
#include "pricelist/PriceList.h"
#include "sales/SaleArithmetic.h"
#include "scanning/BarCodes.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Padding.h"
#include "store/ProgramState.h"
#include "takings/TakingsRecord.h"
#include "tills/TillIdentity.h"

Till::Till(ProgramState& program, Ports& ports, Launcher& launcher)
    : m_program(program), m_ports(ports), m_launcher(launcher), m_journal(program.files.DataDir()) {
}

// ---------------------------------------------------------------- the booker

TillOutcome Till::beginWith(const std::string& salesPersonCode) {
    TillOutcome outcome;
    const std::string& dir = m_program.files.DataDir();
    // The next docket replaces docket.prn: a last one that did not print is
    // said first, while it can still be printed again from the main screen.
    if (!m_docket.isOpen()) {
        if (std::optional<std::string> fault = TakeDocketFault(dir)) {
            outcome.done = false;
            outcome.notices.push_back({"The last docket was not printed: " + *fault +
                                       "\rPress Docket on the main screen to print it again."});
            return outcome;
        }
    }
    m_sale.CurrentSalesPerson = salesPersonCode;
    if (!m_docket.isOpen())
        docketStep(outcome, [&] { m_docket.StartDocket(dir, m_program.config); });
    // A file that cannot be opened now is said by the first record.
    m_journal.open();
    return outcome;
}

bool Till::lookUp() {
    auto find = [this](const std::string& code) {
        m_article.ArticleCode.clear();
        if (std::optional<TextReader> priceWork = m_program.files.OpenPriceWorkForRead())
            FindArticle(*priceWork, code, m_article);
        return m_article.ArticleCode == code;
    };
    if (find(m_sale.EnteredCode)) return true;
    // A UPC-A code is also listed as the EAN-13 it stands for, with a leading 0.
    const std::string upc = m_sale.EnteredCode.substr(0, 12);
    if (m_sale.EnteredCode.size() != 13 || m_sale.EnteredCode[12] != ' ' ||
        !BarCodes::checkDigitRight(upc))
        return false;
    if (!find("0" + upc)) return false;
    m_sale.EnteredCode = "0" + upc;
    return true;
}

void Till::clearSale() {
    BeginNewSale(m_sale, m_article);
}

void Till::leave(bool dropDocket) {
    m_journal.close();
    if (dropDocket) m_docket.abandon();
}

// ---------------------------------------------------------------- a sale

TillOutcome Till::confirmLine(double discountPercent, const RegionalFormats& formats) {
    SaleState sale = m_sale;
    CurrentArticle article = m_article;
    sale.DiscountPercent = discountPercent;
    sale.SaleHasLines = true;
    const double taxRate = m_program.taxes.rateOf(sale.EnteredCode, m_program.config.TaxRate);
    LineResult line = ComputeLine(m_program.config, formats, article, sale, taxRate);
    sale.LabelMeasure = sale.LabelUnitPrice = 0;
    writeLineRecord(line.recorded, sale, article);
    m_program.stock.sold(sale.EnteredCode, sale.Quantity);
    m_sale = sale;
    m_article = article;

    TillOutcome outcome;
    outcome.refused = line.refused;
    if (!line.refused) outcome.journalLines.push_back(line.journalLine);
    showOnDisplay(outcome);
    if (m_docket.isOpen())
        docketStep(outcome, [&] { m_docket.WriteDocketLine(m_program.config, m_article, m_sale); });
    return outcome;
}

// The record holds the line's prices without tax (the same figures as the
// sale's unless the prices include tax).
void Till::writeLineRecord(const RecordedPrices& recorded, const SaleState& sale,
                           const CurrentArticle& article) {
    SaleState recordedSale = sale;
    CurrentArticle recordedArticle = article;
    recordedArticle.SalePrice = recorded.salePrice;
    recordedSale.UnitPrice = recorded.unitPrice;
    recordedSale.LineAmount = recorded.lineAmount;
    m_journal.WriteResultsLine(SalesPersonColumn(sale), recordedSale, recordedArticle);
}

TillOutcome Till::endList(const RegionalFormats& formats) {
    TotalsResult totals = ComputeTotals(m_program.config, formats, m_sale);
    TillOutcome outcome;
    outcome.notices = std::move(totals.notices);
    outcome.journalLines = std::move(totals.journalLines);
    showOnDisplay(outcome);
    return outcome;
}

Till::Payment Till::pay(double amount, const RegionalFormats& formats,
                        const std::string& clockText) {
    Payment payment;
    SaleState paid = m_sale;
    payment.covered = TakePayment(paid, amount, m_program.config, formats).covered;
    if (!payment.covered) {
        m_sale = paid;
        return payment;
    }
    // The customer has paid: the sale's total is on disk before the drawer
    // opens, so nothing that happens while the change is counted out (a
    // closed window, a crash, the power) can lose it.
    SaleState recorded = paid;
    DayTotals day = m_day;
    EndSale(recorded, day);
    m_journal.WriteResultsTotal(recorded, clockText);
    m_day = day;
    m_journal.close();

    // The docket and the display show what was handed over; the change
    // then comes out of the cash, as the record has it.
    m_sale = paid;
    openDrawer(payment.outcome);
    showOnDisplay(payment.outcome);
    if (m_docket.isOpen()) completeDocket(payment.outcome, clockText);
    m_sale = recorded;
    return payment;
}

double Till::cashBackOf(double amount) const {
    if (m_sale.PayCash || m_sale.SaleTotal < 0) return 0;
    const double over = m_sale.Received + amount - m_sale.SaleTotal;
    return over >= 0.005 ? over : 0;
}

// ---------------------------------------------------------------- an expense

TillOutcome Till::confirmExpenseLine(const RegionalFormats& formats) {
    SaleState sale = m_sale;
    CurrentArticle article = m_article;
    TillOutcome outcome;
    outcome.journalLines.push_back(BookExpenseLine(sale, article, formats));
    if (!m_program.config.TaxOn) m_journal.WriteResultsLine(ExpenseBooker, sale, article);
    m_sale = sale;
    m_article = article;

    showOnDisplay(outcome);
    if (m_docket.isOpen())
        docketStep(outcome, [&] { m_docket.WriteDocketLine(m_program.config, m_article, m_sale); });
    return outcome;
}

TillOutcome Till::bookExpenseTax(double tax, const RegionalFormats& formats) {
    SaleState sale = m_sale;
    TillOutcome outcome;
    const bool included = m_program.config.PricesIncludeTax;
    // A receipt's tax is part of its total: more than the total is a typing slip.
    if (included && tax > -sale.LineAmount + 0.005) {
        outcome.done = false;
        outcome.notices.push_back({"The tax included cannot be more than the amount."});
        return outcome;
    }
    outcome.journalLines.push_back(
        BookExpenseTax(sale, tax, m_program.config.LabelTax, formats, included));
    m_journal.WriteResultsLine(ExpenseBooker, sale, m_article);
    m_sale = sale;
    return outcome;
}

ExpenseTotals Till::endExpenseList(const RegionalFormats& formats) {
    return ComputeExpenseTotals(m_program.config.TaxOn, m_sale, formats);
}

TillOutcome Till::payOutExpense(const std::string& clockText, const std::string& shownTotal) {
    // The day takes the expense only once its record is safely written, and
    // the drawer opens only then.
    SaleState sale = m_sale;
    DayTotals day = m_day;
    PayOutExpense(sale);
    m_journal.WriteResultsTotal(sale, clockText);
    EndExpense(sale, day);
    m_sale = sale;
    m_day = day;
    m_journal.close();

    TillOutcome outcome;
    openDrawer(outcome);
    if (m_docket.isOpen()) completeDocket(outcome, clockText);
    const Configuration& c = m_program.config;
    m_sale.DisplayText = (c.LabelTotal + std::string(10, ' ')).substr(0, 18);
    m_sale.DisplayValue = c.TaxOn ? PadLeft(shownTotal, 10) : shownTotal;
    showOnDisplay(outcome);
    return outcome;
}

// ---------------------------------------------------------------- devices

void Till::docketStep(TillOutcome& outcome, const std::function<void()>& step) {
    try {
        step();
    } catch (const IoError& e) {
        m_docket.abandon();
        outcome.notices.push_back({e.message()});
    }
}

void Till::completeDocket(TillOutcome& outcome, const std::string& clockText) {
    bool finished = false;
    docketStep(outcome, [&] {
        m_docket.WriteDocketTotals(m_program.config, m_sale, clockText, m_dateText,
                                   SetTillNumber(m_program.options));
        m_docket.FinishDocket(m_program.config);
        finished = true;
    });
    const std::string& dir = m_program.files.DataDir();
    if (finished && m_program.flags.DocketAutoPrint &&
        FileNames::exists(FileNames::resolve(dir, "docket.prn"))) {
        Notices said = SendDocketToPrinter(dir, m_launcher);
        outcome.notices.insert(outcome.notices.end(), said.begin(), said.end());
    }
}

void Till::showOnDisplay(TillOutcome& outcome) {
    if (!m_program.flags.DisplayAvailable) return;
    std::string left = m_sale.DisplayText;
    Notices said = ShowOnCustomerDisplay(left, m_sale.DisplayValue, m_program, m_ports);
    outcome.notices.insert(outcome.notices.end(), said.begin(), said.end());
}

void Till::openDrawer(TillOutcome& outcome) {
    if (!m_program.flags.DrawerAvailable) return;
    Notices said = OpenCashDrawer(m_program, m_ports, m_launcher);
    outcome.notices.insert(outcome.notices.end(), said.begin(), said.end());
}
