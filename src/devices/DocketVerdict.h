#pragma once

#include <optional>
#include <string>

// Slipjet.exe runs on its own after a sale; when a docket does not reach the
// printer it leaves what went wrong in Slipjet.dat, one line, so that the
// cashier hears of it before the next docket replaces docket.prn (which still
// holds the one that was not printed, for a reprint).

// Written by the printing program after each docket: the fault, or nothing.
void RecordDocketOutcome(const std::string& dataDir, const std::string& fault);
// Read once by the program: the fault of the last docket, if there was one.
std::optional<std::string> TakeDocketFault(const std::string& dataDir);
