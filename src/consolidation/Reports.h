#pragma once

#include "consolidation/ConsolidationTotals.h"
#include "consolidation/DayResults.h"
#include "platform/Regional.h"
#include "store/Configuration.h"
#include "store/ProgramState.h"

#include <string>
#include <vector>

// The two reports of the consolidation run, as shown in its memo and printed
// as dockets.

// The day report: the header of the last start record, the day's figures and
// the balance. A day taxed at several rates has the tax of each rate (and of
// the expenses) under the tax total.
std::vector<std::string> DayReportLines(const ConsolidationTotals& t, const std::string& headerText,
                                        const RegionalFormats& formats,
                                        const TaxShares& taxShares = TaxShares{});

// ShowSalesPersonTable's lines: one per configured person.
std::vector<std::string> SalesPersonTableLines(const SalesPersonTotals& p,
                                               const Configuration& config,
                                               const RegionalFormats& formats);

// WriteReportToDocketFile: the lines as article rows ("4 " + text) of a new
// docket file at docketPath.
void WriteReportToDocketFile(const std::string& docketPath, const std::vector<std::string>& lines);
