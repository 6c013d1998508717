#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where the docket printer is, as Printer.dat in the data directory names it
// in its first line: "device:/dev/usb/lp0", "lp:QUEUE", "tcp:HOST:PORT" or
// "file:NAME".
struct PrinterTarget {
    enum class Kind { Device, Queue, Network, File };
    Kind kind = Kind::File;
    std::string name; // device path, queue, host or file name
    std::string port; // the network port
    std::string text() const;
};

// Parses one Printer.dat line; on failure `fault` describes the line.
std::optional<PrinterTarget> ParsePrinterTarget(std::string_view line, std::string& fault);
// Reads Printer.dat (its name matched without regard to case).
std::optional<PrinterTarget> ReadPrinterTarget(const std::string& dataDir, std::string& fault);
