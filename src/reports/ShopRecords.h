#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The shop's lasting records read for reports and exports, each file through
// its own reader: the takings (the dated archives and the live Results.dat),
// Daybyday.dat, Spersons.dat, Balance.dat and Inventory.dat. Money and
// quantities are kept in hundredths, so sums come out to the cent.

// A date as the number yyyymmdd; 0 when unknown.
using DayNumber = int;

struct ReportRange {
    DayNumber from = 0;
    DayNumber to = 99999999;
    bool contains(DayNumber day) const { return day >= from && day <= to; }
};

// "2026-12-07" to 20261207; 0 for anything else, a day that does not exist
// included.
DayNumber ParseIsoDate(const std::string& text);
std::string IsoDateText(DayNumber day);

// Hundredths as text: "-12.30".
std::string CentsText(long long cents);
long long ToCents(double x);

// The date of a takings archive from its name ("Res2026Dez.05b"); 0 when the
// name is no archive's.
DayNumber TakingsArchiveDay(const std::string& name);
// The month (yyyymm) of a day-by-day archive ("Day2026Dez.A") or of a
// sales-person archive ("SP2026Dez.dat"), the year of a stocktake listing
// ("Inventory.26A"); 0 for other names.
int DayArchiveMonth(const std::string& name);
int SalesPersonArchiveMonth(const std::string& name);
int StocktakeListingYear(const std::string& name);

struct SourceRef {
    size_t file = 0; // index into ShopRecords::files
    size_t line = 0;
};

struct TakingsLineRow {
    SourceRef source;
    DayNumber day = 0;
    enum class Kind { Article, Service, Return, Expense } kind = Kind::Article;
    char person = ' '; // the sales person's code; '$' for an expense
    std::string code;  // without its padding
    long long quantity = 0, wholesale = 0, listPrice = 0, unitPrice = 0, amount = 0;
    // Closed by a total record; lines left without one were never paid.
    bool paid = false;
};

struct TakingsTotalRow {
    SourceRef source;
    DayNumber day = 0;
    enum class Kind { Sale, Refund, Expense } kind = Kind::Sale;
    std::string clock; // "9:05"
    long long cash = 0, cheque = 0, credit = 0, tax = 0, total = 0, received = 0, change = 0;
    size_t lines = 0; // line records it closes
};

// Daybyday.dat and the day-by-day archives of closed periods.
struct DayByDayRow {
    SourceRef source;
    // "*" start, "#" quantities, "&" amounts; in an archive also "=" for the
    // line that opens the period's sums.
    char marker = '*';
    bool archived = false;
    bool periodSum = false; // one of the two lines after "="
    // As the line, or the "*" or "=" line before it, writes it.
    std::string dateText;
    // The day of the consolidation that wrote the line, from the name of the
    // takings archive it made; 0 when that archive is gone.
    DayNumber day = 0;
    std::array<long long, 7> quantities{};
    std::array<long long, 5> amounts{};
};

// Spersons.dat and the sales-person archives.
struct SalesPersonRow {
    SourceRef source;
    bool archived = false;
    std::string dateText; // as the heading above writes it
    char code = ' ';
    std::string name;
    std::array<long long, 4> figures{}; // services qty, total, sales qty, total
};

struct BalanceRow {
    SourceRef source;
    std::string label;
    std::string period;
    long long value = 0;
};

// Inventory.dat and the stocktake listings.
struct StockRow {
    SourceRef source;
    bool archived = false;
    // The inventory's marker; "=" for a listing's total value line.
    char marker = ' ';
    std::string code;
    long minMax = 0;
    long long sold = 0, onStock = 0, totalSold = 0, value = 0;
};

// Takes the records one by one as they are read, in the order of the files
// and of their lines, so that a caller keeps only what it needs. A takings
// line comes once the record that closes its sale (or the file's end) tells
// whether it was paid, before that total record.
class RecordsVisitor {
  public:
    virtual ~RecordsVisitor() = default;
    // Each file before its rows; SourceRef::file counts these calls from 0.
    virtual void file(const std::string& name) = 0;
    // "Line 7 of Balance.dat cannot be read." for each line left out.
    virtual void problem(const std::string& text) = 0;
    virtual void takingsLine(const TakingsLineRow&) {}
    virtual void takingsTotal(const TakingsTotalRow&) {}
    virtual void dayByDay(const DayByDayRow&) {}
    virtual void salesPerson(const SalesPersonRow&) {}
    virtual void balance(const BalanceRow&) {}
    virtual void stock(const StockRow&) {}
};

// The lasting records, as the report's tables show them; the takings are
// summed as they are read, never kept.
struct ShopRecords {
    std::vector<std::string> files; // names as found in the shop's folder
    std::vector<DayByDayRow> days;
    std::vector<SalesPersonRow> persons;
    std::vector<BalanceRow> balance;
    std::vector<StockRow> stock;
    // "Line 7 of Balance.dat cannot be read." for each line left out.
    std::vector<std::string> problems;
};

// Keeps the lasting records it is shown in `records`.
class RecordsCollector : public RecordsVisitor {
  public:
    explicit RecordsCollector(ShopRecords& records) : m_records(records) {}
    void file(const std::string& name) override { m_records.files.push_back(name); }
    void problem(const std::string& text) override { m_records.problems.push_back(text); }
    void dayByDay(const DayByDayRow& row) override { m_records.days.push_back(row); }
    void salesPerson(const SalesPersonRow& row) override { m_records.persons.push_back(row); }
    void balance(const BalanceRow& row) override { m_records.balance.push_back(row); }
    void stock(const StockRow& row) override { m_records.stock.push_back(row); }

  private:
    ShopRecords& m_records;
};

// Shows every record to each of the visitors in turn.
class RecordsFanOut : public RecordsVisitor {
  public:
    explicit RecordsFanOut(std::vector<RecordsVisitor*> visitors)
        : m_visitors(std::move(visitors)) {}
    void file(const std::string& name) override { each(&RecordsVisitor::file, name); }
    void problem(const std::string& text) override { each(&RecordsVisitor::problem, text); }
    void takingsLine(const TakingsLineRow& row) override {
        each(&RecordsVisitor::takingsLine, row);
    }
    void takingsTotal(const TakingsTotalRow& row) override {
        each(&RecordsVisitor::takingsTotal, row);
    }
    void dayByDay(const DayByDayRow& row) override { each(&RecordsVisitor::dayByDay, row); }
    void salesPerson(const SalesPersonRow& row) override {
        each(&RecordsVisitor::salesPerson, row);
    }
    void balance(const BalanceRow& row) override { each(&RecordsVisitor::balance, row); }
    void stock(const StockRow& row) override { each(&RecordsVisitor::stock, row); }

  private:
    template <typename Row> void each(void (RecordsVisitor::*f)(const Row&), const Row& row) {
        for (RecordsVisitor* v : m_visitors)
            (v->*f)(row);
    }
    std::vector<RecordsVisitor*> m_visitors;
};

struct RecordsRequest {
    std::string shopDir;
    ReportRange range;
    // The date the live takings file belongs to.
    DayNumber today = 0;
    // When set, only this file of the shop is read (the viewer's export).
    std::string onlyFile;
};

// Reads each file once, line by line, and shows its records to `visitor`.
// Throws IoError when a file is there but cannot be read.
void ReadShopRecords(const RecordsRequest& request, RecordsVisitor& visitor);
