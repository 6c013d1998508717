#pragma once

#include "printer/Deadline.h"

#include <optional>
#include <string>
#include <vector>

// Finding the printers a shop could print on. `root` is where the system's
// device tree is ("/" on the shop's PC): its sys/ and dev/ folders are read,
// nothing is written. Network printers are only looked for among the hosts
// given; nothing is scanned or broadcast.

struct PrinterCandidate {
    std::string target;      // ready for Printer.dat's first line
    std::string description; // maker and product, or what the device is
};

struct PrinterSearch {
    bool couldLook = false; // false: there is no device tree at root
    std::vector<PrinterCandidate> found;
};

// USB printers by maker and product id, /dev/usb/lp* devices, the print
// system's queues (lpstat), serial ports, and each of `hosts` ("HOST" or
// "HOST:PORT", port 9100 unless given) that takes a connection.
PrinterSearch FindPrinters(const std::string& root, const std::vector<std::string>& hosts,
                           const Deadline& deadline);

// A candidate's line as `zorvi-printer detect` prints it: the target, then
// two blanks, "#" and the description (Printer.dat ignores the rest of its
// first line from " #" on).
std::string CandidateLine(const PrinterCandidate& candidate);

// The device of the USB printer with this maker and product id ("04b8:0e15",
// letters in any case), found through the device tree at root; empty when
// no such printer is plugged in.
std::optional<std::string> UsbPrinterDevice(const std::string& root, const std::string& ids);
