#pragma once

#include "devices/DocketFile.h"
#include "expenses/ExpenseArithmetic.h"
#include "platform/Regional.h"
#include "pricelist/CurrentArticle.h"
#include "sales/SaleArithmetic.h"
#include "store/Notice.h"
#include "takings/TakingsJournal.h"
#include "till/SaleState.h"

#include <functional>
#include <string>
#include <vector>

class Launcher;
class Ports;
struct ProgramState;

// What a step of the till asks the screen to show.
struct TillOutcome {
    // The step was taken; false leaves the cursor where it is.
    bool done = true;
    // A line over the limit was refused: no record, totals untouched.
    bool refused = false;
    // New lines of the on-screen journal, in order.
    std::vector<std::string> journalLines;
    // What the operator is told, in order, before the journal lines.
    Notices notices;
};

// One sale or expense from its first line to its total, and the day's
// totals. The screens turn keys into calls of these steps and show what they
// return; the till records each step in the takings file, writes the docket
// and drives the customer display, the cash drawer and the docket printer.
//
// Every step that records works on copies: the record is written (and is on
// disk) first, and only then does the sale or the day take the change. A
// record that cannot be written throws IoError and leaves the sale and the
// day as they were, so the operator can take the same step again once the
// cause is fixed, and it is recorded once.
class Till {
  public:
    Till(ProgramState& program, Ports& ports, Launcher& launcher);
    // The time the seals of the takings carry.
    void setClock(std::function<DateTime()> now) { m_journal.setClock(std::move(now)); }

    // What the screens enter field by field (codes, quantities, tender,
    // modes, a new article's figures) goes straight into the sale and the
    // article; the steps below take it from there.
    SaleState& sale() { return m_sale; }
    const SaleState& sale() const { return m_sale; }
    CurrentArticle& article() { return m_article; }
    const DayTotals& day() const { return m_day; }
    // Goes on from the day's totals taken so far (nothing at program start).
    void resumeDay(const DayTotals& day) { m_day = day; }

    // The date on the dockets of the screen just opened.
    void setDocketDate(std::string dateText) { m_dateText = std::move(dateText); }

    // Looks up the sale's EnteredCode in the price work copy into the
    // article; false when no line has that code. A UPC-A code (12 digits)
    // not listed as it stands is looked up as its EAN-13, which then becomes
    // the EnteredCode.
    bool lookUp();

    // The sales person's code was accepted: it books from now on, a docket
    // is started when none is open and the takings file is opened. Not done
    // when the operator is first told that the last docket did not print.
    TillOutcome beginWith(const std::string& salesPersonCode);
    // A new sale or expense: the amounts of the last one (kept so far for its
    // total record and the screen) are cleared.
    void clearSale();

    // Sales: the line confirmed with sale().Quantity and the given discount.
    TillOutcome confirmLine(double discountPercent, const RegionalFormats& formats);
    // F ends the list: the totals block, and the total on the display.
    TillOutcome endList(const RegionalFormats& formats);
    // One payment with the tender chosen in the sale's tender flags. When the
    // payments cover the total, the sale's total record is written (and on
    // disk) and the day takes the sale; then the drawer opens and the docket
    // is finished and printed. A total that cannot be written throws IoError
    // and leaves the sale unpaid, so the same payment can be taken again.
    struct Payment {
        TillOutcome outcome;
        bool covered = false;
    };
    Payment pay(double amount, const RegionalFormats& formats, const std::string& clockText);
    // How much a card or cheque payment of `amount` would pay over what is
    // still due, which would go out of the drawer as cash; 0 for cash, and
    // when it pays no more than is due.
    double cashBackOf(double amount) const;

    // Expenses: the line of sale().ExpenseAmount for the expense article.
    // With tax its record waits for the tax, which it includes.
    TillOutcome confirmExpenseLine(const RegionalFormats& formats);
    TillOutcome bookExpenseTax(double tax, const RegionalFormats& formats);
    ExpenseTotals endExpenseList(const RegionalFormats& formats);
    // The expense is paid out: its total record, then the day, then the
    // drawer, the docket and the display of `shownTotal`.
    TillOutcome payOutExpense(const std::string& clockText, const std::string& shownTotal);

    // The screen is left: the takings file is let go and, for an expense, an
    // unfinished docket is dropped so it cannot end up on the next sale's.
    void leave(bool dropDocket);
    void abandonDocket() { m_docket.abandon(); }
    bool docketOpen() const { return m_docket.isOpen(); }
    // Whether the takings file is held open (from a sale's first record to its end).
    bool takingsOpen() const { return m_journal.isOpen(); }

  private:
    void writeLineRecord(const RecordedPrices& recorded, const SaleState& sale,
                         const CurrentArticle& article);
    // The docket is only a print file: its trouble is told but never holds
    // up the sale or its record. A failed step abandons the docket.
    void docketStep(TillOutcome& outcome, const std::function<void()>& step);
    void completeDocket(TillOutcome& outcome, const std::string& clockText);
    void showOnDisplay(TillOutcome& outcome);
    void openDrawer(TillOutcome& outcome);

    ProgramState& m_program;
    Ports& m_ports;
    Launcher& m_launcher;
    TakingsJournal m_journal;
    DocketFile m_docket;
    SaleState m_sale;
    CurrentArticle m_article;
    DayTotals m_day;
    std::string m_dateText;
};
