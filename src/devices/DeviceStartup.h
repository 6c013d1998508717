#pragma once

#include "store/Notice.h"

class Launcher;
class Ports;
struct ProgramState;

// The device steps of the program's start, run after the configuration has
// been read and before the price list is prepared, in two steps around the
// printer test, which the caller runs (it may ask the operator to retry)
// unless the installation path has disabled the printer.

// Greets the cash drawer and the customer display (each found device gets
// its greeting; the drawer opens) and forgets the last printer verdict. A
// printer the installation path has disabled prints no dockets.
Notices GreetDevicesAtStart(ProgramState& state, Ports& ports);

// Prints the last docket when the printer passed its test, else tells the
// operator how to switch docket printing on.
Notices PrintLastDocketAtStart(ProgramState& state, Launcher& launcher);
