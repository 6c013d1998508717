#pragma once

#include <string>

// What the printer test program does: tries the printer that Printer.dat
// names, within timeoutMs (or Printer.dat's own time-out), and returns its
// verdict: "Ok", or one line saying what is wrong.
std::string CheckPrinter(const std::string& dataDir, int timeoutMs);

// Writes the verdict to Devcheck.dat so that it is never seen half-written.
bool WriteVerdict(const std::string& dataDir, const std::string& verdict);
