#pragma once

#include "consolidation/ConsolidationTotals.h"
#include "store/Configuration.h"
#include "store/ProgramState.h"

#include <string>

// Spersons.dat: the totals per sales person since the last period end. A
// heading line, then per configured person: code, name right-aligned in 12,
// services quantity and total, sales quantity and total (each :12:2).
// Lines are keyed by column 1; a blank or "*" there marks a heading.

std::string SalesPersonsHeading(const std::string& DateText);
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
