#pragma once

#include <array>
#include <cstddef>
#include <string>
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

struct DayByDayRow {
    SourceRef source;
    char marker = '*';    // "*" start, "#" quantities, "&" amounts
    std::string dateText; // as the line, or the "*" line before it, writes it
    // The day of the consolidation that wrote the line, from the name of the
    // takings archive it made; 0 when that archive is gone.
    DayNumber day = 0;
    std::array<long long, 7> quantities{};
    std::array<long long, 5> amounts{};
};

struct SalesPersonRow {
    SourceRef source;
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

struct StockRow {
    SourceRef source;
    char marker = ' ';
    std::string code;
    long minMax = 0;
    long long sold = 0, onStock = 0, totalSold = 0, value = 0;
};

struct ShopRecords {
    std::vector<std::string> files; // names as found in the shop's folder
    std::vector<TakingsLineRow> lines;
    std::vector<TakingsTotalRow> totals;
    std::vector<DayByDayRow> days;
    std::vector<SalesPersonRow> persons;
    std::vector<BalanceRow> balance;
    std::vector<StockRow> stock;
    // "Line 7 of Balance.dat cannot be read." for each line left out.
    std::vector<std::string> problems;
};

struct RecordsRequest {
    std::string shopDir;
    ReportRange range;
    // The date the live takings file belongs to.
    DayNumber today = 0;
    // When set, only this file of the shop is read (the viewer's export).
    std::string onlyFile;
};

// Throws IoError when a file is there but cannot be read.
ShopRecords ReadShopRecords(const RecordsRequest& request);
