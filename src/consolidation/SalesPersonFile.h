#pragma once

#include "consolidation/ConsolidationTotals.h"
#include "store/Configuration.h"
#include "store/ProgramState.h"

#include <array>
#include <string>
#include <string_view>

// Spersons.dat: the totals per sales person since the last period end. A
// heading line, then per configured person: code, name right-aligned in 12,
// services quantity and total, sales quantity and total (each :12:2).
// Lines are keyed by column 1; a blank or "*" there marks a heading.

// One line of the file read back. `code` is 0 for a heading line.
struct SalesPersonFigures {
    char code = 0;
    std::string name;
    // Services quantity and total, then sales quantity and total.
    std::array<double, 4> figures{};
};
// False when a line with a code cannot be read.
bool ParseSalesPersonLine(std::string_view text, SalesPersonFigures& line);

std::string SalesPersonsHeading(const std::string& DateText);
// The date a heading line gives the figures below it; empty for any other
// line.
std::string_view SalesPersonsHeadingDate(std::string_view heading);
// `paddedName` is the configured name padded to 9 characters.
std::string SalesPersonsLine(const std::string& code, const std::string& paddedName,
                             const SalesPersonTotals& totals, size_t i);

// MergeSalesPersonTotals: adds the stored totals at `path` (when there is such
// a file) to the day's and returns the new content of the file. The k-th
// stored line with a code goes to the k-th configured person with that code;
// figures under a code no longer configured are dropped. Throws
// ConsolidationError for a line that cannot be read.
std::string MergeSalesPersonTotals(const std::string& path, const Configuration& config,
                                   const std::string& DateText, SalesPersonTotals& persons);

// Which sales persons of `config` have figures other than 0 in the file at
// `path` (none without a file). Throws ConsolidationError as the merge does.
std::array<bool, 5> SalesPersonsWithFigures(const std::string& path, const Configuration& config);

// The file at `path` with the figures of every sales person i for whom
// move[i] is set carried from their code in `before` to their code in
// `after`, under their name there. Figures that come to a code which keeps
// figures of its own are added to them: the merge credits the figures under a
// code to the person who has it and takes only one line a person, so a second
// line would be lost. Every other line stays as it is. Throws
// ConsolidationError as the merge does.
std::string MoveSalesPersonFigures(const std::string& path, const Configuration& before,
                                   const Configuration& after, const std::array<bool, 5>& move);
