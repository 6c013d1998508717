#pragma once

#include "devices/PrinterFile.h"

#include <optional>
#include <string>
#include <string_view>

// Where the docket printer is, as Printer.dat in the data directory names it
// in its first line: "device:/dev/usb/lp0", "usb:VID:PID" (a USB printer by
// maker and product id, wherever it is plugged in), "lp:QUEUE",
// "tcp:HOST:PORT", "serial:/dev/ttyUSB0" (set to Printer.dat's line
// settings) or "file:NAME". From " #" on the line is a comment.
struct PrinterTarget {
    enum class Kind { Device, Usb, Serial, Queue, Network, File };
    Kind kind = Kind::File;
    std::string name; // device path, "VID:PID", queue, host or file name
    std::string port; // the network port
    SerialLine line;  // a serial printer's line settings
    std::string text() const;
};

// Parses one Printer.dat line; on failure `fault` describes the line.
std::optional<PrinterTarget> ParsePrinterTarget(std::string_view line, std::string& fault);
// Printer.dat as the companion programs use it: the printer its first line
// names, and the settings after it.
struct PrinterSetup {
    PrinterTarget target;
    PrinterFile file;
};
// On failure (no Printer.dat, or no printer named in it) `fault` says why.
std::optional<PrinterSetup> ReadPrinterSetup(const std::string& dataDir, std::string& fault);
