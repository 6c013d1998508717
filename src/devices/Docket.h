#pragma once

#include <string>
#include <vector>

struct ProgramState;

// The docket of a sale or an expense, written to Docket.Prn in the data
// directory one printed line per file line, each line led by the digit of
// its docket row (whose printer codes the docket printing program applies).
// The callers write: StartDocket, WriteDocketLine per line,
// WriteDocketTotals, FinishDocket, then SendDocketToPrinter.
//
// The file is written to a temporary name and replaces the last docket only
// when FinishDocket closes it, so a reprint never finds half a docket.
// A failing write throws IoError.

// Creates the docket and writes rows 1 to 3. Sets and returns DocketOpen;
// when the file cannot be created nothing is written.
bool StartDocket(ProgramState& state);
// The current article or expense line: one line wide, two narrow.
void WriteDocketLine(ProgramState& state);
// Separator, totals, paid-with lines and the served-by line (which also
// sets ServedByName from CurrentSalesPerson).
void WriteDocketTotals(ProgramState& state);
// Rows 7 to 9 and PushOut feed lines; closes the file and clears DocketOpen.
void FinishDocket(ProgramState& state);

// A docket of plain text lines in the article row (the day's totals), each
// led by a blank, replacing the last docket at docketPath.
void WriteTotalsDocket(const std::string& docketPath, const std::vector<std::string>& lines);
