#pragma once

#include "pricelist/PriceListSave.h"

#include <string>
#include <string_view>
#include <vector>

class DataFiles;

// The check of Pricelist.dat for codes that stand on more than one line.
// Every line of a code on k lines names each of its other lines after the
// first, so the code gives k x (k - 1) report lines and deleting the lines
// named leaves the first line of each code.
struct DoubleEntryReport {
    bool found = false;
    // " " + the 13-character code + ",  delete line No: " + the line number,
    // at most DoubleEntryReportLimit of them, in file order.
    std::vector<std::string> lines;
    // The report lines beyond the limit.
    size_t leftOut = 0;
};

inline constexpr size_t DoubleEntryReportLimit = 10000;

// Reads Pricelist.dat; a list that cannot be opened has no double codes. A
// left-over dcheck.a of an older check is removed.
DoubleEntryReport CheckDoubleEntries(DataFiles& files, const PriceProgress& progress = {});

// The same over lines already read.
DoubleEntryReport FindDoubleEntries(const std::vector<std::string_view>& lines,
                                    const PriceProgress& progress = {});
