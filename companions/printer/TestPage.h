#pragma once

#include <optional>
#include <string>

// The printer's test page: the shop's name, the printer it went to, and the
// Windows-1252 characters from 32 to 255 in rows of sixteen ("Ax " and the
// characters A0 to AF), in the printer's code page when Printer.dat sets one,
// then the docket's feed and cut. DEL and the five numbers Windows-1252
// leaves empty print as blanks.
std::string TestPageBytes(const std::string& shopName, const std::string& target,
                          std::optional<int> codePage, const std::string& end);

// What `zorvi-printer test` does for the shop in dataDir: tests the printer
// as the printer test program does, prints the test page and opens the
// drawer when it hangs on the printer (PRN1 or PRN2 in Configur.dat). The
// verdict: "Ok", or one line saying what is wrong.
std::string PrintTestPage(const std::string& dataDir, int timeoutMs);
