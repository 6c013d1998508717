#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Cashup.dat: one line for each count of the drawer, CR LF, fixed columns.
//
//   col  1     kind: O opening float, X a count during the day, Z the close
//   col  3-8   number, right-aligned: the Z number on a Z line, else the
//              count's number in the file
//   col 10-17  date as the shop writes it, col 19-23 time (HH:MM)
//   col 25     sales person code
//   col 27-38  float, 40-51 expected, 53-64 counted, 66-77 difference
//              (counted minus expected): 2 decimals right-aligned in 12;
//              counted and difference are blank on a Z line without a count
//
// This module is the file's only reader and writer.

struct CashCount {
    char kind = 'X';
    long number = 0;
    std::string date;
    std::string time;
    char salesPerson = ' ';
    double cashFloat = 0;
    double expected = 0;
    std::optional<double> counted; // a Z line may record no count
    double difference() const { return counted ? *counted - expected : 0; }
};

std::string CashCountLine(const CashCount& count);
bool ParseCashCount(std::string_view line, CashCount& count);

struct CashupRead {
    std::vector<CashCount> counts;
    // "Cashup.dat, line 3: ..." for each line that cannot be read.
    std::vector<std::string> faults;
};
// The counts of a file; a file that is not there holds none.
CashupRead ReadCashup(const std::string& path);

// Adds a line at the end, flushed and synced before it returns. Throws
// IoError when it cannot.
void AppendCashCount(const std::string& dataDir, const CashCount& count);

// The next Z number: one more than the highest in Cashup.dat and in its
// dated archives (Csh...), whatever lines of theirs cannot be read.
long NextZNumber(const std::string& dataDir);

// The day's Z line before any count: the next Z number, the day's float (0
// without an opening line for `date`) and the cash expected, the float plus
// `cashInDrawer`.
CashCount UncountedClose(const std::string& dataDir, const CashupRead& read,
                         const std::string& date, const std::string& time, double cashInDrawer);

// The number of the next count that is not a Z: one more than the file's last.
long NextCountNumber(const CashupRead& read);

// The day's float: that of the last opening line of `date`, if there is one.
std::optional<double> OpeningFloat(const CashupRead& read, std::string_view date);

// The notes and coins of the denominations= option, in cents, in its order;
// at most `most` of them.
std::vector<long> DenominationCents(const std::string& option, size_t most);

// The archive name of Cashup.dat beside the takings archive of the same day.
std::string CashupArchiveName(const std::string& resultsArchiveName);
