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

// What the docket printing program does when told to open the drawer that
// hangs on the printer: sends Printer.dat's drawer pulse to the drawer
// socket's pin 2 (m 0) or pin 5 (m 1), within timeoutMs unless Printer.dat
// sets its own time-out. The fault, or empty when the printer took it.
std::string KickDrawer(const std::string& dataDir, int m, int timeoutMs);
