#pragma once

#include "store/SerialLine.h"

#include <optional>
#include <string>
#include <vector>

// Printer.dat in the data directory. Its first line names the docket printer
// (the companion programs read it as their target); each line after it may
// hold one setting "key=value". Every setting is optional, and the lines are
// kept as they stand when the file is written anew.
struct PrinterFile {
    std::string target;
    // The lines after the first, as read (line ends dropped).
    std::vector<std::string> settings;

    // The value of the last line that sets `key`, blanks around it dropped;
    // empty when no line sets it.
    std::string value(const std::string& key) const;
    // Replaces the value of the lines that set `key`, or adds a line.
    void set(const std::string& key, const std::string& value);
};

// Empty when there is no Printer.dat (its name matched without regard to case).
std::optional<PrinterFile> ReadPrinterFile(const std::string& dataDir);
// Replaces Printer.dat as a whole; false when it cannot be written (the old
// file then stays).
bool WritePrinterFile(const std::string& dataDir, const PrinterFile& file);

// Every setting line that is not understood, each as
// "Printer.dat line N: what is wrong", in the order of the file.
std::vector<std::string> PrinterFileFaults(const PrinterFile& file);

// The drawer pulse of the printer's drawer socket: on and off time in units
// of 2 ms, from "pulse=t1,t2" (a faulty value gives the default).
struct DrawerPulse {
    int on = 25;
    int off = 250;
};
DrawerPulse DrawerPulseOf(const PrinterFile& file);

// The printer's character page for dockets, "codepage=" the ESC t number;
// empty when not set (the printer keeps the page it starts with).
std::optional<int> CodePageOf(const PrinterFile& file);

// The line settings of a serial printer: "speed=" (9600 unless set),
// "parity=none|even|odd" and "flow=none|rtscts|xonxoff"; 8 data bits and
// one stop bit.
SerialLine SerialLineOf(const PrinterFile& file);

// How long the printer may take to answer, from "timeout=" seconds.
int PrinterTimeoutMs(const PrinterFile& file, int defaultMs);

// What the docket ends with: "feed=" lines fed before the cut, and
// "cut=full|partial|none" (partial, leaving a hinge, unless set).
enum class PaperCut { Full, Partial, None };
PaperCut PaperCutOf(const PrinterFile& file);
int FeedLinesOf(const PrinterFile& file);
