#pragma once

#include "consolidation/ConsolidationTotals.h"
#include "store/ProgramState.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The archives a period end closes Daybyday.dat and Spersons.dat off into.

// `base` + the first letter "A".."Z" that names no file of the data directory
// yet (whatever the case of its name). Nothing when all 26 are taken: a
// lettered archive never replaces another.
std::optional<std::string> FreeLetterName(const std::string& dataDir, const std::string& base);

struct DayArchive {
    std::string content;
    // The period's sums of the "#" lines (TotQuantity .. TotCredit) and of the
    // "&" lines (TotServicesTotal, TotTax, TotTakings, TotExpenses, TotNet),
    // which the balance sheet's new column takes.
    ConsolidationTotals period;
};

// The numbers of a day-by-day "#" line (TotQuantity .. TotCredit) and of an
// "&" line (TotServicesTotal, TotTax, TotTakings, TotExpenses, TotNet), after
// the marker. False when one cannot be read.
bool ReadDayQuantities(std::string_view line, std::array<double, 7>& values);
bool ReadDayAmounts(std::string_view line, std::array<double, 5>& values);

// ArchiveDayByDay: the archive of the day-by-day text `dayByDay` (the file's
// lines, keyed on column 1: "*" day heading, "#" quantities, "&" amounts; an
// empty line or one starting with a blank is passed over), reformatted, with
// the " TOTAL from " line and the two sum lines. Throws ConsolidationError
// naming `path` and the line for any other line, or a "#" or "&" line whose
// numbers cannot be read.
DayArchive ArchiveDayByDay(std::string_view dayByDay, const std::string& path,
                           const std::string& DateText);

// One line of a day-by-day archive read back: a day's heading (its text
// trimmed), its quantities or its amounts line, or the period's " TOTAL from "
// line (`text` is what follows that) before the period's two sum lines.
struct DayArchiveLine {
    enum class Kind { Heading, Quantities, Amounts, Period } kind = Kind::Heading;
    std::string_view text;
    std::array<double, 7> quantities{};
    std::array<double, 5> amounts{};
};
// False for a line no archive holds.
bool ReadDayArchiveLine(std::string_view line, DayArchiveLine& read);

// ArchiveSalesPersonTotals: the month's sales-person archive, whole: the old
// archive `oldArchive`, every line of `salesPersons`, then " Results to and
// incl. " + the date and an empty line.
std::string ArchiveSalesPersonTotals(std::string_view oldArchive, std::string_view salesPersons,
                                     const std::string& DateText);
