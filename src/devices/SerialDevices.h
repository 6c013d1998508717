#pragma once

#include "store/Notice.h"

#include <string>

class Launcher;
class Ports;
struct ProgramState;

// The cash drawer and the customer display on serial ports "COM1".."COM4".
// Each command opens the port, writes one line and closes it again; a port
// with line settings in Options.dat ("COM1=9600,8N1") is set to them each
// time, and "display=escpos" frames each display line with ESC/POS display
// commands. The
// drawer may instead hang on the docket printer's drawer socket, "PRN1" (its
// pin 2) or "PRN2" (pin 5); Slipjet.exe then sends the printer the pulse.

// Whether the drawer port names the printer's drawer socket.
bool IsPrinterDrawer(const std::string& port);

// The device behind a port name: the file of that name in the data directory
// when there is one (a link to the real device), else /dev/ttyS0../dev/ttyS3.
// Empty for anything that is not exactly "COM1".."COM4" (no device installed).
std::string SerialDevicePath(const std::string& port, const std::string& dataDir);

// Greets each device (the drawer opens) and sets DrawerAvailable and
// DisplayAvailable; a configured port without a device is told. A drawer on
// the printer gets no pulse: it is available while the printer's last test
// passed.
Notices CheckDrawerPort(ProgramState& state, Ports& ports);
Notices CheckDisplayPort(ProgramState& state, Ports& ports);

// A failure is told and switches the device off until the next check (for a
// drawer on the printer: until the printer passes its test again).
Notices OpenCashDrawer(ProgramState& state, Ports& ports, Launcher& launcher);
// Shows `left` and `right` right-aligned on one display line; `left` is cut
// in place to the room `right` leaves.
Notices ShowOnCustomerDisplay(std::string& left, const std::string& right, ProgramState& state,
                              Ports& ports);
