#pragma once

#include "store/Notice.h"

#include <string>

class Launcher;
struct ProgramState;

// The docket printer, driven through the two companion programs installed in
// the data directory: Slipjet.exe prints docket.prn, Devcheck.exe tests the
// printer and leaves its verdict in Devcheck.dat.

// How long a companion program may take with the printer before Zorvi
// stops waiting: the program gives up on the printer within 2 seconds, or
// the time-out Printer.dat sets, and gets one second more to tell so.
int PrinterWaitMs(const std::string& dataDir);

// Starts Slipjet.exe without waiting. When it could not be started, the
// notice "Printer not ready! Errorcode=" with the start result; none else.
Notices SendDocketToPrinter(const std::string& dataDir, Launcher& launcher);

struct PrinterTest {
    // DocketAutoPrint after the test.
    bool passed = false;
    // Set when Devcheck.exe could not be started: the question to put to the
    // operator with Retry and Cancel. Retry runs the whole test again; after
    // Cancel, this test's notices tell the outcome.
    std::string retryQuestion;
    Notices notices;
};

// Runs Devcheck.exe, waiting for it at most PrinterWaitMs, and sets
// DocketAutoPrint only when the verdict is exactly "Ok". PrinterTestText gets
// the verdict, or the result file's path when there is none. A drawer that
// hangs on the printer is available exactly when the printer passed.
PrinterTest TestPrinter(ProgramState& state, Launcher& launcher);
