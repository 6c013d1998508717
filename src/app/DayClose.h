#pragma once

#include "platform/Regional.h"
#include "store/ProgramState.h"
#include "takings/TakingsDay.h"
#include "till/SaleState.h"

#include <string>
#include <vector>

// Today's totals as the main screen shows them at Exit: three blank lines,
// the heading, then each total's 14-character label and its currency text
// padded to 16; the tax line only when the shop charges tax. When the
// takings go back to an earlier day, a line after the heading says since
// when (`since`); lines the takings could not read are counted at the end.
std::vector<std::string> TodaysTotalsLines(const DayTotals& day, bool taxOn,
                                           const RegionalFormats& formats,
                                           const std::string& since = {}, size_t skipped = 0);
