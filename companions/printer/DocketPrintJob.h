#pragma once

#include <string>

// What the docket printing program does: prints docket.prn of the data
// directory, with the row codes of Configur.dat, on the printer that
// Printer.dat names, within timeoutMs. docket.prn is only read.
// Returns the fault that stopped or marred the print; empty when all went well.
std::string PrintDocketFile(const std::string& dataDir, int timeoutMs);
