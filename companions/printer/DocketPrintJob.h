#pragma once

#include <string>

// What the docket printing program does: prints docket.prn of the data
// directory, with the row codes of Configur.dat, on the printer that
// Printer.dat names, within timeoutMs. docket.prn is only read.
struct DocketPrintResult {
    std::string fault;        // what stopped or marred the print; empty when all went well
    bool undelivered = false; // a docket was there and did not reach the printer
};
DocketPrintResult PrintDocketFile(const std::string& dataDir, int timeoutMs);
