#pragma once

#include "store/Notice.h"

#include <string>

class Dialogs;
class Launcher;
struct ProgramState;

// The docket printer, driven through the two companion programs installed in
// the data directory: Slipjet.exe prints docket.prn, Devcheck.exe tests the
// printer and leaves its verdict in Devcheck.dat.

// How long the printer test may take before its verdict is read; the test
// program gives up on the printer within 2 seconds.
constexpr int PrinterTestTimeoutMs = 3000;

// Starts Slipjet.exe without waiting. When it could not be started the
// operator is told "Printer not ready! Errorcode=" and the start result.
Notices SendDocketToPrinter(const std::string& dataDir, Launcher& launcher);

// Runs Devcheck.exe, waiting for it at most PrinterTestTimeoutMs, and sets
// DocketAutoPrint only when the verdict is exactly "Ok". PrinterTestText gets
// the verdict, or the result file's path when there is none. Returns
// DocketAutoPrint.
bool TestPrinter(ProgramState& state, Launcher& launcher, Dialogs& dialogs);
