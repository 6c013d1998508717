#pragma once

class Dialogs;
class Launcher;
class Ports;
struct ProgramState;

// The device steps of the program's start, run by the main screen after the
// configuration has been read and before the price list is prepared:
// greet the cash drawer and the customer display (each found device gets its
// greeting; the drawer opens), then test the printer unless the installation
// path has disabled it, and print the last docket when the printer passed,
// else tell the operator how to switch docket printing on.
void CheckDevicesAndPrinterAtStart(ProgramState& state, Ports& ports, Launcher& launcher,
                                   Dialogs& dialogs);
